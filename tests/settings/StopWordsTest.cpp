#include <gtest/gtest.h>

#include <array>
#include <random>

#include "settings/StopWords.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"
#include "support/TestProgram.h"
#include "support/Text.h"
#include "ui/Defaults.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/StopWordBoxes.h"
#include "ui/WordListFile.h"

namespace quillmoor {
namespace {

using testing::FaultyFileSystem;
using testing::TempDir;

class StopWordsTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    p.strProgramFolder = dir.path();
  }
  // Loads `contents` as a stop-word file; returns whether it was loaded.
  bool Load(const std::string& contents, const std::string& name = "stop.txt") {
    p.strStopWordsFile = dir.Write(name, contents);
    AttemptToReadStopWords(p);
    return p.blnStopWordsLoaded;
  }
  std::vector<std::string> Table() const {
    return std::vector<std::string>(p.arrStopWords.begin() + 1, p.arrStopWords.end());
  }
};

TEST_F(StopWordsTest, FileFormatCommentsAndBlocks) {
  ASSERT_TRUE(
      Load("/* one-line comment */\r\n\r\n/* a block\r\nstill comment\r\nends here */\r\n"
           "  the a   an \r\n\t\r\n"));
  EXPECT_EQ(Table(), (std::vector<std::string>{"a", "an", "the"}));
  EXPECT_EQ(p.frmMain.txbOutput.text,
            "3 stop words loaded from " + Utf8Lower(p.strStopWordsFile) + "\r\n");
  // A closing line without an open block is skipped too.
  ASSERT_TRUE(Load("x */\r\nZebra \xC9T\xC9\r\n"));
  EXPECT_EQ(Table(), (std::vector<std::string>{"zebra", "\xE9t\xE9"}));
  // UTF-8 with LF line ends, with a word Windows-1252 cannot hold: kept as UTF-8 for the
  // Unicode rules; under the Windows-1252 rules that word is left out and named in the
  // load message.
  const std::string greek =
      "/* list */\nZebra \xC3\x89T\xC3\x89\n\xCE\xBA\xCE\xB1\xCE\xB9 c\xC5\x93ur\n";
  ASSERT_TRUE(Load(greek));
  EXPECT_EQ(p.stopWordRules, WordRuleSet::kUnicode);
  EXPECT_EQ(Table(), (std::vector<std::string>{"c\xC5\x93ur", "zebra", "\xC3\xA9t\xC3\xA9",
                                               "\xCE\xBA\xCE\xB1\xCE\xB9"}));
  p.frmParams.strWordRules = "windows-1252";
  ASSERT_TRUE(Load(greek));
  EXPECT_EQ(Table(), (std::vector<std::string>{"c\x9Cur", "zebra", "\xE9t\xE9"}));
  EXPECT_EQ(
      p.frmMain.txbOutput.text,
      "3 stop words loaded from " + Utf8Lower(p.strStopWordsFile) +
          "\r\nOne word of the file was left out (they hold characters that Windows-1252 lacks): "
          "\xCE\xBA\xCE\xB1\xCE\xB9\r\n");
  // Byte-order marks inside the text decode to nothing and no-break spaces to spaces:
  // no word is empty or holds a space (found by fuzzing).
  WordsOfFile read;
  ASSERT_TRUE(
      ReadWordsOfFile(p, dir.Write("bom.txt", "1y*]p\xEF\xBB\xBF\r\xEF\xBB\xBF\ncaf\xC3\xA9\n"),
                      WordFileKind{"stop words", 120, 86}, &read));
  EXPECT_EQ(read.words, (std::vector<std::string>{"caf\xE9"}));
  p.frmParams.strWordRules = "automatic";  // the mark is beyond Windows-1252: UTF-8 words
  ASSERT_TRUE(
      ReadWordsOfFile(p, dir.Write("bom.txt", "1y*]p\xEF\xBB\xBF\r\xEF\xBB\xBF\ncaf\xC3\xA9\n"),
                      WordFileKind{"stop words", 120, 86}, &read));
  EXPECT_EQ(read.words, (std::vector<std::string>{"1y*]p", "caf\xC3\xA9"}));
}

TEST_F(StopWordsTest, DuplicatesAndSummaries) {
  ASSERT_TRUE(Load("The\r\nthe\r\n"));
  EXPECT_EQ(Table(), std::vector<std::string>{"the"});
  EXPECT_EQ(p.frmMain.txbOutput.text,
            "One stop word loaded from " + Utf8Lower(p.strStopWordsFile) + "\r\n");
  std::string many;
  for (int i = 0; i < 2500; ++i) many += "w" + std::to_string(i) + (i % 10 == 9 ? "\r\n" : " ");
  ASSERT_TRUE(Load(many + "w1 w2\r\n"));
  EXPECT_EQ(p.lngNumStopWords, 2500);
  EXPECT_TRUE(p.frmMain.txbOutput.text.starts_with("2,500 stop words loaded from "));
}

TEST_F(StopWordsTest, BadFilesKeepThePreviousTable) {
  ASSERT_TRUE(Load("alpha beta\r\n"));
  struct Case {
    std::string name, bytes, message;
  };
  for (const Case& c : std::vector<Case>{
           {"rtf.txt", "{\\rtf1 the a}", "is an RTF file."},
           {"binary.txt", std::string("the\0\x01\x02\0and", 10), "is not a text file"}}) {
    EXPECT_FALSE(Load(c.bytes, c.name)) << c.name;
    EXPECT_TRUE(testing::Has(host.Said(), c.message)) << c.name;
    EXPECT_EQ(Table(), (std::vector<std::string>{"alpha", "beta"})) << c.name;
  }
  p.strStopWordsFile = dir.path() + "/missing.txt";
  AttemptToReadStopWords(p);
  EXPECT_EQ(host.Said(), "File not found: The stop-words file does not exist.\n");
  // A read error.
  std::string path = dir.Write("broken.txt", std::string(30000, 'a') + " b\r\n");
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[path].readOkBytes = 20000;
  p.strStopWordsFile = path;
  AttemptToReadStopWords(p);
  EXPECT_EQ(host.Said(),
            "Stop words: Error #57when reading stop words from tile " + Utf8Lower(path) + "\n");
  EXPECT_EQ(p.lngNumStopWords, 2);
}

TEST_F(StopWordsTest, LargeFilesCanBeStopped) {
  ASSERT_TRUE(Load("alpha beta\r\n"));
  std::string big;
  for (int i = 0; i < 3000; ++i) big += "word" + std::to_string(i) + "\r\n";  // over 20480 bytes
  std::string caption;
  host.onDoEvents = [this, &caption] {
    caption = p.frmMain.cmdListWords.caption;
    p.blnStop = true;
  };
  EXPECT_FALSE(Load(big, "big.txt"));
  EXPECT_EQ(caption, "Stop");  // the main button could stop the read
  EXPECT_EQ(p.frmMain.txbOutput.text, "Reading stop words was stopped.");
  EXPECT_EQ(p.frmMain.cmdListWords.caption, "Create concordance");
}

TEST_F(StopWordsTest, TooManyWordsAreRefused) {
  std::string many;
  for (int i = 0; i < 32768; ++i) many += "w" + std::to_string(i) + "\r\n";
  EXPECT_FALSE(Load(many));
  EXPECT_TRUE(
      testing::Has(host.Said(), "holds 32,768 words; a stop-word file can hold at most 32,767.\n"));
}

TEST_F(StopWordsTest, LookupUsesTheTableAndTheExtraWords) {
  ASSERT_TRUE(Load("the and\r\n"));
  EXPECT_TRUE(IsStopWord(p, StopWordListNamed(p), "the"));
  EXPECT_FALSE(IsStopWord(p, StopWordListNamed(p), "cat"));
  p.frmParams.txbExtraStopWords.text = "Foo, bar  FOO";
  txbExtraStopWords_LostFocus(p);
  EXPECT_EQ(p.frmParams.txbExtraStopWords.text, "bar foo");
  EXPECT_EQ(p.strExtraStopWords, " bar foo ");
  EXPECT_TRUE(IsStopWord(p, StopWordListNamed(p), "FOO"));
  EXPECT_FALSE(IsStopWord(p, StopWordListNamed(p), "fo"));
  // With no file named and no extra words nothing is a stop word.
  p.frmParams.txbExtraStopWords.text = "   ";
  txbExtraStopWords_LostFocus(p);
  p.frmParams.txbStopWordsFile.text.clear();
  EXPECT_FALSE(IsStopWord(p, StopWordListNamed(p), "the"));
}

// The set finds exactly what a search of the table for " word " finds, on tables
// well formed or not.
TEST(ExtraStopWordsTest, TheSetAgreesWithTheLiteralSearch) {
  std::mt19937 random(7);
  auto pick = [&random](const std::string& letters, int most) {
    std::string s(std::uniform_int_distribution<int>(0, most)(random), ' ');
    for (char& c : s)
      c = letters[std::uniform_int_distribution<size_t>(0, letters.size() - 1)(random)];
    return s;
  };
  for (int round = 0; round < 2000; ++round) {
    const std::string table = pick("ab \xE9", 12);
    const ExtraStopWords set(table);
    EXPECT_EQ(set.given(), !table.empty());
    for (int i = 0; i < 20; ++i) {
      const std::string word = pick("ab\xE9", 3);
      if (word.empty()) continue;
      EXPECT_EQ(set.Contains(word), table.find(" " + word + " ") != std::string::npos)
          << "'" << table << "' '" << word << "'";
    }
  }
}

TEST_F(StopWordsTest, ExtraStopWordsCharacters) {
  p.frmParams.chkAllowWordsWithHyphens.value = 0;
  p.frmParams.txbExtraStopWords.text = "well-known";
  txbExtraStopWords_LostFocus(p);
  EXPECT_EQ(host.Said(),
            "Character not allowed: The character - occurs in some stop word\r\nbut is not "
            "currently set as a character allowed in a word.\n");
  p.frmParams.txbExtraStopWords.text = "a,b";
  EXPECT_FALSE(CheckAllowedExtraChars(p));
  EXPECT_TRUE(host.Said().ends_with(
      "\r\n\r\nWords-to-ignore must be separated by a space, not by a comma.\n"));
  p.frmParams.txbExtraStopWords.text = "x9";
  EXPECT_FALSE(CheckAllowedExtraChars(p));
  p.frmParams.chkAllowWordsWithNumerals.value = 1;
  EXPECT_TRUE(CheckAllowedExtraChars(p));
  // The box holds UTF-8: accented words are lower-cased; a character Windows-1252 lacks
  // is named, and its word stays in the box but not in the table.
  host.Said();
  p.frmParams.txbExtraStopWords.text = "\xC3\x89T\xC3\x89 \xCE\x9A\xCE\xB1\xCE\xB9 \xC5\x92uvre";
  txbExtraStopWords_LostFocus(p);
  EXPECT_EQ(p.frmParams.txbExtraStopWords.text,
            "\xCE\xBA\xCE\xB1\xCE\xB9 \xC5\x93uvre \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(p.strExtraStopWords, " \x9Cuvre \xE9t\xE9 ");
  EXPECT_TRUE(host.Said().starts_with(
      "Character not allowed: The character \xCE\xBA occurs in some stop word"));
}

TEST_F(StopWordsTest, ListStopWordsShowsThirty) {
  ASSERT_TRUE(Load("only\r\n"));
  host.Said();
  ListStopWords(p);
  EXPECT_EQ(host.Said(), "");
  std::string words;
  for (int i = 0; i < 31; ++i)
    words += "w" + std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i) + " ";
  ASSERT_TRUE(Load(words));
  host.Said();
  ListStopWords(p);
  const std::string said = host.Said();
  EXPECT_TRUE(said.starts_with("Stop words: There are 31 stop words.\r\n\r\n")) << said;
  EXPECT_TRUE(said.ends_with("\r\n\r\nand more\n"));
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2 + 30 + 1 + 1);
}

TEST_F(StopWordsTest, TheDocumentsLanguageIsProposed) {
  dir.Write("stwds_en.txt", "the\r\n");
  dir.Write("stwds_fr.txt", "le la\r\n");
  dir.Write("stwds_en_de_es_pt_it_fr.txt", "the le\r\n");
  for (const auto& [name, head, language] :
       std::vector<std::array<std::string, 3>>{{"a.html", "<html lang=\"fr\">", "fr"},
                                               {"b.html", "<html lang=\"de-DE\">", "de"},
                                               {"d.txt", "no mark here", "en"},
                                               {"e.html", "<meta content=\"xit\">", "it"},
                                               {"f.html", "<html lang=\"zh\">", "en"}}) {
    EXPECT_EQ(DetectDocumentLanguage(dir.Write(name, head + "\r\n"), kLanguageCodes, "en"),
              language)
        << head;
  }

  ASSERT_TRUE(Load("the\r\n", "stwds_en.txt"));
  host.Said();
  p.frmMain.txbFile[0].text = dir.Write("page.html", "<html lang=\"fr\"><p>le chat</p>\r\n");
  ChooseStopWordsForDocument(p);
  EXPECT_EQ(host.Said(), "Stop words: Do you wish to load the stop words of this file?\r\n" +
                             Utf8Lower(dir.path()) + "/stwds_fr.txt\n");
  EXPECT_EQ(Table(), (std::vector<std::string>{"la", "le"}));  // answered Yes
  // With the six-language list loaded no proposal is made.
  ASSERT_TRUE(Load("the le\r\n", "stwds_en_de_es_pt_it_fr.txt"));
  p.frmMain.txbFile[0].text = dir.path() + "/page.html";
  ChooseStopWordsForDocument(p);
  EXPECT_EQ(host.Said(), "");
  // A language whose file is missing switches file stop words off.
  p.frmMain.txbFile[0].text = dir.Write("de.html", "<html lang=\"de\">\r\n");
  ChooseStopWordsForDocument(p);
  EXPECT_EQ(p.strStopWordsFile, "");
  EXPECT_EQ(p.lngNumStopWords, 0);
}

TEST_F(StopWordsTest, EnglishFileBesideTheProgram) {
  SetPathToCWDs_Eng(p);
  EXPECT_EQ(p.strStopWordsFile, dir.path() + "/stwds_en.txt");
  // The shipped lists load and hold what their comment block says.
  p.strStopWordsFile = std::string(QUILLMOOR_DATA_DIR) + "/stwds_en.txt";
  AttemptToReadStopWords(p);
  ASSERT_TRUE(p.blnStopWordsLoaded);
  EXPECT_GT(p.lngNumStopWords, 300);
  for (const char* w : {"the", "and", "which", "thee", "nevertheless"})
    EXPECT_TRUE(IsStopWord(p, StopWordListNamed(p), w)) << w;
  EXPECT_FALSE(IsStopWord(p, StopWordListNamed(p), "river"));
  p.strStopWordsFile = std::string(QUILLMOOR_DATA_DIR) + "/stwds_fr.txt";  // UTF-8
  AttemptToReadStopWords(p);
  EXPECT_TRUE(IsStopWord(p, StopWordListNamed(p), "\xE9tait"));
  EXPECT_EQ(p.frmMain.txbOutput.text.find("left out"), std::string::npos);
}

}  // namespace
}  // namespace quillmoor
