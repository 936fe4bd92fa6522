#include <gtest/gtest.h>

#include "support/TestProgram.h"
#include "ui/Program.h"
#include "ui/Viewer.h"

namespace quillmoor {
namespace {

class ViewerTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    p.strProgramFolder = dir.path();
  }
};

TEST_F(ViewerTest, HelpShowsTheHelpFile) {
  dir.Write("oxn_help.txt", "How to use it.\r\n");
  cmdHelp_Click(p);
  EXPECT_EQ(p.frmView.caption, "Help for Quillmoor");
  EXPECT_EQ(p.frmView.txbText1.text, "How to use it.\r\n");
  EXPECT_TRUE(p.frmView.visible);
  cmdClose_Click(p);
  EXPECT_FALSE(p.frmView.visible);
  // The shipped help text is there and fits the viewer.
  p.strViewFilename = std::string(QUILLMOOR_DATA_DIR) + "/oxn_help.txt";
  FormView_Activate(p);
  EXPECT_NE(p.frmView.txbText1.text.find("STOP WORDS"), std::string::npos);
}

TEST_F(ViewerTest, HelpBesideTheMainWindowOrTheReasonWhyNot) {
  dir.Write("oxn_help.txt", "How to use it.\r\n");
  MainControls& m = p.frmMain;
  m.left = 3000;
  m.top = 1500;
  m.width = 13000;
  m.height = 9000;
  m.screenWidth = 28800;
  cmdHelp_Click(p);
  EXPECT_EQ(m.left, 300);  // the main window moves to the left edge
  EXPECT_EQ(p.frmView.left, 13300);
  EXPECT_EQ(p.frmView.width, 28800 - 13300 - 600);
  // A screen too narrow for it: the reason, and where the manual is.
  p.frmView.visible = false;
  m.screenWidth = 12000;
  cmdHelp_Click(p);
  EXPECT_FALSE(p.frmView.visible);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(
      host.messages[0].prompt,
      "Error: Probably the screen resolution is\r\ntoo small to display the help file.\r\n\r\n" +
          p.GetProgramText(122) + "\r\n" + p.GetProgramText(15) +
          "\r\nYou can click on the link at lower left.");
}

TEST_F(ViewerTest, LargeFilesAreCutBetweenTwoNotes) {
  p.strViewFilename = dir.Write("big.txt", std::string(100000, 'h'));
  FormView_Activate(p);
  const std::string& text = p.frmView.txbText1.text;
  EXPECT_EQ(text.size(), kViewerMaxChars + 4);  // the notes, the cut text and two line breaks
  EXPECT_TRUE(
      text.starts_with("NOTE: This file is too large to display entirely in this textbox.\r\n"));
  EXPECT_TRUE(text.ends_with("\r\n\r\nNOTE: Entire contents of file have not been displayed.\r\n"));
  // A missing file leaves the box as it was.
  p.strViewFilename = dir.path() + "/none.txt";
  FormView_Activate(p);
  EXPECT_EQ(p.frmView.txbText1.text, text);
}

TEST_F(ViewerTest, OpeningFilesAndPagesReportsFailures) {
  p.frmMain.txbFile[1].text = "/some/results.txt";
  cmdViewFile_Click(p, 1);
  EXPECT_EQ(host.opened.back(), "/some/results.txt");
  EXPECT_TRUE(host.messages.empty());
  host.shellResult = 2;
  cmdViewFile_Click(p, 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].prompt, "Error when opening file /some/results.txt.");
  EXPECT_FALSE(OpenWithAssociatedProgram(p, "/x.abc", true, true));
  EXPECT_EQ(host.messages.back().prompt,
            "Error when opening file /x.abc.\r\nPerhaps the file extension has no association.");

  host.messages.clear();
  host.shellResult = 31;
  OpenWebPage(p, "https://example.org/manual.xyz");
  EXPECT_EQ(host.messages[0].prompt,
            "Error launching web browser, error code = 31.\r\n\r\n"
            "File extension 'xyz' is not associated with any application program.");
  host.shellResult = 8;
  OpenWebPage(p, "https://example.org/");
  EXPECT_TRUE(host.messages.back().prompt.ends_with("\r\n\r\nOut of memory."));
  host.shellResult = 42;
  lblOnlineDocumentation_Click(p);  // the manual beside the program
  EXPECT_EQ(host.opened.back(), dir.path() + "/oxn_help.txt");
}

}  // namespace
}  // namespace quillmoor
