#include <gtest/gtest.h>

#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "support/TestProgram.h"
#include "ui/ParametersWindow.h"
#include "ui/Program.h"
#include "ui/Settings.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {
namespace {

class ParametersWindowTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    p.strProgramFolder = QUILLMOOR_DATA_DIR;
  }
};

TEST_F(ParametersWindowTest, LanguageWindowLoadsThatLanguagesFile) {
  EXPECT_EQ(LanguageAcceptCaption(7), "Load stop words file for these languages");
  EXPECT_EQ(LanguageAcceptCaption(2), "Load stop words file for this language");
  host.languageAnswer = -1;  // cancelled: nothing changes
  cmdSelectLanguageStopWords_Click(p);
  EXPECT_EQ(p.lngNumStopWords, 0);
  host.languageAnswer = 7;
  cmdSelectLanguageStopWords_Click(p);
  EXPECT_TRUE(p.blnStopWordsLoaded);
  EXPECT_EQ(p.strStopWordsFile,
            Cp1252Lower(std::string(QUILLMOOR_DATA_DIR) + "/stwds_en_de_es_pt_it_fr.txt"));
}

TEST_F(ParametersWindowTest, FocusGoesToCloseWhenItCanTakeIt) {
  chkWordOption_Click(p);
  EXPECT_EQ(p.frmParams.focus, "cmdClose");
  p.frmParams.focus.clear();
  p.blnStartUpCompleted = false;  // restoring settings at start-up moves no focus
  chkThreshold_Click(p);
  EXPECT_EQ(p.frmParams.focus, "");
}

TEST_F(ParametersWindowTest, StopWordBoxAndClear) {
  // Leaving the box unchanged (even empty) says the file is loaded already.
  txbStopWordsFile_LostFocus(p);
  EXPECT_EQ(host.messages[0].title, "Stop words loaded");
  EXPECT_EQ(
      host.messages[0].prompt,
      "This file has already been loaded.  Click on 'Clear' and re-select the file if it has been "
      "changed on disk.");
  // A new path is recorded, not read.
  p.arrStopWords = {"", "kept"};
  p.lngNumStopWords = 1;
  p.frmParams.txbStopWordsFile.text = " /new/list.txt ";
  txbStopWordsFile_LostFocus(p);
  EXPECT_EQ(p.strStopWordsFile, "/new/list.txt");
  EXPECT_EQ(p.lngNumStopWords, 1);
  // Clear: a short output text about stop words goes, a long one stays.
  p.frmMain.txbOutput.text = "447 stop words loaded from /x\r\n";
  cmdClearStopWordsFile_Click(p);
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  EXPECT_EQ(p.lngNumStopWords, 0);
  p.frmMain.txbOutput.text = std::string(100, 's') + " stop";
  cmdClearStopWordsFile_Click(p);
  EXPECT_FALSE(p.frmMain.txbOutput.text.empty());
}

TEST_F(ParametersWindowTest, SettingsFilesFromTheWindow) {
  // A damaged file: the message, and the defaults. (Saving and loading through the
  // dialogs is walked through in the window's own test.)
  p.frmMain.cboContextSize.listIndex = 3;
  host.fileNames = {dir.Write("bad.kvf", "junk")};
  cmdSaveLoadState_Click(p, 1);
  EXPECT_EQ(host.dialogs.back().filter, "Settings files (*.kvf) | *.kvf");
  EXPECT_EQ(host.messages.back().title, "Load settings");
  EXPECT_EQ(p.frmParams.lblParameters.caption, "Error loading from");
  EXPECT_EQ(p.frmMain.cboContextSize.listIndex, 5);
  // Quit asks first.
  host.answers = {MsgResult::kNo};
  cmdQuitParameters_Click(p);
  EXPECT_FALSE(host.ended);
  host.answers = {MsgResult::kYes};
  cmdQuitParameters_Click(p);
  EXPECT_TRUE(host.ended);
}

}  // namespace
}  // namespace quillmoor
