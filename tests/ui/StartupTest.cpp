#include <gtest/gtest.h>

#include <cstdlib>

#include "support/ScriptedHost.h"
#include "support/TestFiles.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Settings.h"
#include "ui/Startup.h"

namespace quillmoor {
namespace {

TEST(StartupTest, StartsWithTheDefaultsAndTheEnglishStopWords) {
  ScriptedHost host;
  Program p(host);
  p.frmMain.windowVisible = true;
  ASSERT_TRUE(StartProgram(p, QUILLMOOR_DATA_DIR));
  EXPECT_GT(p.lngNumStopWords, 300);
  EXPECT_EQ(p.frmMain.cboContextSize.listIndex, 5);
  EXPECT_EQ(p.frmMain.cmdListWords.caption, "Create concordance");
  EXPECT_EQ(p.frmMain.focus, "cmdFile0");
  EXPECT_FALSE(p.frmMain.txbFile[1].enabled);
  EXPECT_TRUE(host.messages.empty());
}

TEST(StartupTest, TheRestoredInputIsCheckedQuietly) {
  ScriptedHost host;
  Program p(host);
  testing::TempDir dir;
  p.frmMain.txbFile[0].text = dir.path() + "/gone.txt";
  CheckRestoredInput(p);  // during start-up: no message
  EXPECT_EQ(p.frmMain.txbFile[0].text, "");
  EXPECT_TRUE(host.messages.empty());
  p.frmMain.txbFile[0].text = dir.Write("u.txt", "\xEF\xBB\xBFhello there\r\n");
  p.frmMain.txbOutput.text = "One stop word loaded from x\r\n";
  CheckRestoredInput(p);
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 1);
  EXPECT_FALSE(p.frmMain.cmdClearFile[0].enabled);  // until the first timer tick
  EXPECT_TRUE(p.frmMain.txbOutput.text.ends_with("\r\n\r\n\r\n"));
}

TEST(StartupTest, RestoredKeywordsAndIndexAreTakenOver) {
  testing::TempDir dir;
  testing::ScopedEnv configHome("XDG_CONFIG_HOME", dir.path());
  ScriptedHost host;
  Program p(host);
  ASSERT_TRUE(StartProgram(p, QUILLMOOR_DATA_DIR));
  p.frmMain.txbFile[0].text =
      dir.Write("book.txt", "The river ran past the mill by the river.\r\n");
  p.frmMain.chkCreateIndexFile.value = 1;
  host.answers = {MsgResult::kYes};  // "Create concordance file?"
  cmdListWords_Click(p);
  ASSERT_TRUE(p.blnIndexFileCurrent);
  p.frmMain.txbExtraKeywords.text = "Bird's nest+egg";
  ASSERT_EQ(SaveState(p, ""), "");
  ScriptedHost host2;
  host2.answers = {MsgResult::kYes};  // "Index file found"
  Program again(host2);
  ASSERT_TRUE(StartProgram(again, QUILLMOOR_DATA_DIR, true));
  EXPECT_EQ(host2.messages.at(0).title, "Index file found");
  EXPECT_EQ(again.lngNumWords, p.lngNumWords);
  EXPECT_EQ(again.frmMain.txbExtraKeywords.text, "bird nest+egg");
  ASSERT_EQ(again.intNumExtraKeywords, 2);
  EXPECT_EQ(again.strExtraKeywordList[2], "nest+egg");
}

}  // namespace
}  // namespace quillmoor
