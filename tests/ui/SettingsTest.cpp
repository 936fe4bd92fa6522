#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/StopWords.h"
#include "shared/Utf8.h"
#include "support/TestProgram.h"
#include "ui/Defaults.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/Settings.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

class SettingsTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    p.strUserSettingsFile = dir.path() + "/config/Quillmoor/oxn.usr";
  }
  std::vector<std::string> Lines(const std::string& file) {
    std::vector<std::string> lines;
    std::string text = ReadWholeFile(file);
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find('\n', start);
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }
};

TEST_F(SettingsTest, DefaultsAreWrittenAsTwentyLines) {
  ASSERT_EQ(SaveState(p, ""), "");  // the folder is made
  const std::vector<std::string> lines = Lines(p.strUserSettingsFile);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "\"\"");
  EXPECT_EQ(lines[3], "1");
  EXPECT_EQ(lines[4], "0");
  EXPECT_EQ(lines[15], "5");
  EXPECT_EQ(lines[19], "0");  // UTF-8 output files
}

TEST_F(SettingsTest, FilesOfEarlierVersionsLoad) {
  // Nineteen lines of Windows-1252 with CR LF: the name reads as UTF-8, and the
  // Windows-text option keeps its default.
  const std::string input = dir.Write("caf\xC3\xA9.txt", "some words\r\n");
  std::string old = "\"" + dir.path() +
                    "/caf\xE9.txt\"\r\n\"\"\r\n\"\"\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n1\r\n0\r\n"
                    "1\r\n0\r\n1\r\n1\r\n0\r\n5\r\n\"\"\r\n\"\"\r\n0\r\n";
  p.frmParams.chkWindowsText.value = 1;
  ASSERT_EQ(RestoreSavedState(p, dir.Write("old.kvf", old)), "");
  EXPECT_EQ(p.frmMain.txbFile[0].text, input);
  EXPECT_EQ(p.frmParams.chkWindowsText.value, 0);
}

TEST_F(SettingsTest, EveryItemRoundTrips) {
  MainControls& m = p.frmMain;
  ParamsControls& s = p.frmParams;
  m.txbFile[0].text = dir.Write("in.txt", "some words\r\n");
  m.txbFile[1].text = dir.Write("out.txt", "x");
  m.txbFile[2].text = dir.Write("keys.txt", "alpha\r\n");
  s.txbExtraStopWords.text = "foo bar";
  s.cboThresholdFrequency.listIndex = 18;
  s.chkIgnoreInfrequentWords.value = 1;
  s.chkAllowWordsWithHyphens.value = 0;
  s.chkAllowWordsWithNumerals.value = 1;
  m.chkWarnOnOverwrite.value = 1;
  m.chkSaveStateOnQuit.value = 1;
  m.chkFrequencies.value = 0;
  m.chkShowLineBreaks.value = 0;
  m.cboWordOrder.listIndex = 1;
  m.cboContextSize.listIndex = 9;
  p.strStopWordsFile = "/lists/stwds_fr.txt";
  m.txbExtraKeywords.text = "river*";
  m.chkCreateIndexFile.value = 1;
  s.chkWindowsText.value = 1;
  s.strWordRules = "unicode";
  s.strEncoding = "KOI8-R";
  s.strSortLanguage = "sv";
  m.txbFile[0].text =
      dir.Write("\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0.txt", "some words\n");  // Cyrillic
  const std::string file = dir.path() + "/mine.kvf";
  ASSERT_EQ(SaveState(p, file), "");

  // Restored into a fresh program and saved again, every line comes back the same.
  ScriptedHost other;
  Program q(other);
  testing::StartForTest(q);
  ASSERT_EQ(RestoreSavedState(q, file), "");
  ASSERT_EQ(SaveState(q, dir.path() + "/again.kvf"), "");
  EXPECT_EQ(ReadWholeFile(dir.path() + "/again.kvf"), ReadWholeFile(file));
  EXPECT_EQ(q.frmParams.cboThresholdFrequency.listIndex, 18);
  EXPECT_EQ(q.frmParams.strSortLanguage, "sv");
  EXPECT_EQ(q.frmParams.txbStopWordsFile.text, "/lists/stwds_fr.txt");
  EXPECT_EQ(q.strExtraStopWords, "");  // not renewed by restoring
}

TEST_F(SettingsTest, ModesHtmlInputsAndMissingFiles) {
  p.frmMain.txbFile[0].text = dir.Write("page.htm", "<p>x</p>");
  p.frmMain.txbFile[1].text = dir.Write("r.txt", "x");
  p.frmMain.txbFile[2].text = dir.path() + "/gone.txt";
  p.frmMain.optCreate.value = false;
  p.frmMain.optSearch.value = true;
  const std::string file = dir.path() + "/search.kvf";
  ASSERT_EQ(SaveState(p, file), "");
  // At start-up the program opens in Create mode whatever the file says.
  p.blnStartUpCompleted = false;
  ASSERT_EQ(RestoreSavedState(p, file), "");
  EXPECT_TRUE(p.frmMain.optCreate.value);
  EXPECT_EQ(p.frmMain.txbFile[0].text, "");  // an HTML input is dropped, with the results file
  EXPECT_EQ(p.frmMain.txbFile[1].text, "");
  EXPECT_EQ(p.frmMain.txbFile[2].text, "");  // missing: emptied
}

TEST_F(SettingsTest, SearchModeAfterStartUpAndAnotherStopWordFile) {
  // A concordance of the input exists, so Search mode can be chosen.
  MainControls& m = p.frmMain;
  m.txbFile[0].text = dir.Write("in.txt", "some words\r\n");
  p.strConcordanceFile = dir.Write("in.txt.oxn.con_a5.txt", "concordance");
  p.blnConcordanceFileCreated = true;
  m.optCreate.value = false;
  m.optSearch.value = true;
  p.strStopWordsFile = "/elsewhere/stwds_de.txt";
  const std::string file = dir.path() + "/search.kvf";
  ASSERT_EQ(SaveState(p, file), "");
  optCreate_Click(p);
  p.strStopWordsFile = "/mine/stwds_en.txt";
  p.arrStopWords = {"", "kept"};
  p.lngNumStopWords = 1;
  ASSERT_EQ(RestoreSavedState(p, file), "");  // after start-up
  EXPECT_TRUE(m.optSearch.value);
  EXPECT_EQ(m.cmdListWords.caption, "Search");
  // The new path is shown; the table keeps the words it has.
  EXPECT_EQ(p.frmParams.txbStopWordsFile.text, "/elsewhere/stwds_de.txt");
  EXPECT_EQ(p.arrStopWords[1], "kept");
}

TEST_F(SettingsTest, DamagedFilesGiveTheirError) {
  EXPECT_EQ(RestoreSavedState(p, dir.path() + "/none.kvf"),
            "Error when attempting to restore settings: File not found");
  ASSERT_EQ(SaveState(p, dir.path() + "/good.kvf"), "");
  std::string good = ReadWholeFile(dir.path() + "/good.kvf");
  EXPECT_EQ(RestoreSavedState(p, dir.Write("short.kvf", good.substr(0, good.size() / 2))),
            "Error when attempting to restore settings: Input past end of file");
  EXPECT_EQ(RestoreSavedState(p, dir.Write("binary.kvf", std::string("\x01\x02\x03\0\xFF", 5))),
            "Error when attempting to restore settings: Type mismatch");
  std::string minus = good;
  minus.replace(minus.find("\n5\n"), 3, "\n-1\n");  // context size index -1
  EXPECT_EQ(RestoreSavedState(p, dir.Write("minus.kvf", minus)), "Invalid combo box index");
  std::string beyond = good;
  beyond.replace(beyond.find("\n5\n"), 3, "\n12\n");  // context size index 12
  EXPECT_EQ(RestoreSavedState(p, dir.Write("beyond.kvf", beyond)),
            "Error when attempting to restore settings: Invalid property value");
}

TEST_F(SettingsTest, SaveButtonAndSaveOnQuit) {
  cmdSaveState_Click(p);
  ASSERT_EQ(host.popUps.size(), 1u);
  EXPECT_EQ(host.popUps[0].message, "Settings saved.");
  EXPECT_TRUE(FileExists(p.strUserSettingsFile));
  // A folder that cannot be made: the error text, no crash.
  dir.Write("blocker", "a file where a folder should be");
  p.strUserSettingsFile = dir.path() + "/blocker/Quillmoor/oxn.usr";
  cmdSaveState_Click(p);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].prompt, "Error when attempting to save settings: Path not found");
  // Quit saves first when asked to.
  p.strUserSettingsFile = dir.path() + "/quit/oxn.usr";
  p.frmMain.chkSaveStateOnQuit.value = 1;
  cmdQuit_Click(p);
  EXPECT_TRUE(FileExists(p.strUserSettingsFile));
  EXPECT_TRUE(host.ended);
}

TEST_F(SettingsTest, ReinitializeEndsWithTheEnglishStopWords) {
  p.strProgramFolder = QUILLMOOR_DATA_DIR;
  p.frmMain.cboContextSize.listIndex = 2;
  p.frmParams.txbStopWordsFile.text = "/somewhere/else.txt";
  cmdInitialize_Click(p);
  EXPECT_EQ(p.frmMain.cboContextSize.listIndex, 5);
  EXPECT_TRUE(p.blnStopWordsLoaded);
  EXPECT_EQ(p.strStopWordsFile, Utf8Lower(std::string(QUILLMOOR_DATA_DIR) + "/stwds_en.txt"));
  EXPECT_EQ(p.frmParams.lblParameters.caption, "Program reinitialized.");
}

TEST(UserSettingsFileTest, LiesInTheConfigurationFolder) {
  ScriptedHost host;
  Program p(host);
  testing::StartForTest(p);
  testing::ScopedEnv configHome("XDG_CONFIG_HOME", "/tmp/xdg-test");
  EXPECT_EQ(UserSettingsFile(p), "/tmp/xdg-test/Quillmoor/oxn.usr");
}

}  // namespace
}  // namespace quillmoor
