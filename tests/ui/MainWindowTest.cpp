#include <gtest/gtest.h>

#include "support/TestProgram.h"
#include "ui/InputFile.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

class MainWindowTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EnableControls(p, true);
  }
};

TEST_F(MainWindowTest, SearchModeNeedsAnInputAndItsConcordance) {
  optSearch_Click(p);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].prompt, "Input file not specified.");
  EXPECT_EQ(p.frmMain.cmdListWords.caption, "Create concordance");
  host.messages.clear();
  p.frmMain.txbFile[0].text = dir.Write("doc.txt", "rivers and more rivers\r\n");
  optSearch_Click(p);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].prompt, p.GetProgramText(5));
  EXPECT_TRUE(p.frmMain.optCreate.value);

  // With its concordance made, Search is chosen: the keyword rows open, the input row closes.
  cmdListWords_Click(p);
  ASSERT_TRUE(p.blnConcordanceFileCreated);
  host.messages.clear();
  optSearch_Click(p);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(p.frmMain.cmdListWords.caption, "Search");
  EXPECT_FALSE(p.frmMain.cmdFile[0].enabled);
  EXPECT_TRUE(p.frmMain.txbExtraKeywords.enabled);
  optCreate_Click(p);
  EXPECT_TRUE(p.frmMain.cmdFile[0].enabled);
  EXPECT_FALSE(p.frmMain.txbFile[1].enabled);
}

TEST_F(MainWindowTest, ControlsWhileBusyAndOptionsThatListAgain) {
  EnableControls(p, false);
  EXPECT_FALSE(p.frmMain.cmdFile[0].enabled);
  EXPECT_FALSE(p.frmMain.cboWordOrder.enabled);
  EXPECT_TRUE(p.frmMain.cmdListWords.enabled);  // Stop stays possible
  EXPECT_TRUE(p.frmMain.cmdQuit.enabled);
  EnableControls(p, true);

  p.frmMain.txbFile[0].text = dir.Write("doc.txt", "rivers and more rivers\r\n");
  InputFileLostFocus(p, 0);
  cmdListWords_Click(p);
  p.frmMain.cboContextSize.listIndex = 0;
  cboContextSize_Click(p);
  EXPECT_FALSE(p.frmMain.chkShowLineBreaks.enabled);
  EXPECT_EQ(p.strOutputBuffer, "and 1\r\nmore 1\r\nriver 2\r\n");  // (no stop words loaded here)
  p.frmMain.chkFrequencies.value = 0;
  chkFrequencies_Click(p);
  EXPECT_EQ(p.strOutputBuffer, "and\r\nmore\r\nriver\r\n");
  p.frmMain.cboContextSize.listIndex = 2;
  cboContextSize_Click(p);
  EXPECT_TRUE(p.frmMain.chkShowLineBreaks.enabled);
  EXPECT_TRUE(p.strOutputBuffer.starts_with("[and]\r\n...  rivers and more rivers\r\n"))
      << p.strOutputBuffer;
}

TEST_F(MainWindowTest, ClearButtons) {
  p.frmMain.txbFile[0].text = dir.Write("u.txt", "\xEF\xBB\xBFhello world\r\n");
  InputFileLostFocus(p, 0);
  ASSERT_EQ(p.frmMain.chkUTF8[0].value, 1);
  cmdClearFile_Click(p, 0);
  EXPECT_EQ(p.frmMain.txbFile[0].text, "");
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 0);
  EXPECT_EQ(p.frmMain.lblInputFilesize.caption, "");
  p.frmMain.txbOutput.text = "3 keywords loaded from x";
  p.frmMain.txbFile[2].text = "x";
  cmdClearFile_Click(p, 2);
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  cmdQuit_Click(p);
  EXPECT_TRUE(host.ended);
  EXPECT_TRUE(p.blnStop);
}

}  // namespace
}  // namespace quillmoor
