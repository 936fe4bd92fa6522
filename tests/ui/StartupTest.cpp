#include "ui/Startup.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/Settings.h"
#include "shared/Program.h"
#include "shared/ScriptedHost.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

TEST(StartupTest, StartsWithTheDefaultsAndTheEnglishStopWords) {
  ScriptedHost host;
  Program p(host);
  p.frmMain.windowVisible = true;
  ASSERT_TRUE(StartProgram(p, QUILLMOOR_DATA_DIR));
  EXPECT_TRUE(p.blnStartUpCompleted);
  EXPECT_TRUE(p.blnStopWordsLoaded);
  EXPECT_GT(p.lngNumStopWords, 300);
  EXPECT_TRUE(p.frmMain.optCreate.value);
  EXPECT_EQ(p.frmMain.cboContextSize.listIndex, 5);
  EXPECT_EQ(p.frmMain.cboWordOrder.listIndex, 0);
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

TEST(StartupTest, RestoredExtraKeywordsAreTakenOver) {
  testing::TempDir dir;
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  ScriptedHost host;
  Program p(host);
  ASSERT_TRUE(StartProgram(p, QUILLMOOR_DATA_DIR));
  p.frmMain.txbExtraKeywords.text = "Bird's nest+egg";
  ASSERT_EQ(SaveState(p, ""), "");
  Program again(host);
  ASSERT_TRUE(StartProgram(again, QUILLMOOR_DATA_DIR, true));
  EXPECT_EQ(again.frmMain.txbExtraKeywords.text, "bird nest+egg");
  ASSERT_EQ(again.intNumExtraKeywords, 2);
  EXPECT_EQ(again.strExtraKeywordList[2], "nest+egg");
  if (old) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace quillmoor
