#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/KeywordSearch.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "support/TestProgram.h"
#include "ui/Concordance.h"
#include "ui/InputFile.h"
#include "ui/KeywordBoxes.h"
#include "ui/Listing.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

class KeywordSearchTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EnableControls(p, true);
  }
  // Makes the concordance of `text` (Search needs one) and turns to Search mode.
  void SearchMode(const std::string& text) {
    p.frmMain.txbFile[0].text = dir.Write("doc.txt", text);
    InputFileLostFocus(p, 0);
    host.answers = {MsgResult::kYes};  // "Create concordance file?"
    cmdListWords_Click(p);
    ASSERT_TRUE(p.blnConcordanceFileCreated);
    optSearch_Click(p);
    ASSERT_TRUE(p.frmMain.optSearch.value);
    host.messages.clear();
  }
  // The listing of a search for the extra keywords `keywords`.
  std::string Search(const std::string& keywords) {
    p.frmMain.txbExtraKeywords.text = keywords;
    cmdListWords_Click(p);
    return p.strOutputBuffer;
  }
  // Reads `content`, written as a keywords file, answering "Display search words?".
  void LoadKeywords(const std::string& content, MsgResult display = MsgResult::kNo,
                    const std::string& name = "keys.txt") {
    p.frmMain.txbFile[2].text = dir.Write(name, content);
    host.answers = {display};
    AttemptToReadSearchWords(p);
  }
  std::vector<std::string> ExtraKeywords() const {
    return std::vector<std::string>(p.strExtraKeywordList.begin() + 1, p.strExtraKeywordList.end());
  }
  std::vector<std::string> SearchWords() const {
    return std::vector<std::string>(p.strSearchWords.begin() + 1, p.strSearchWords.end());
  }
};

TEST(KeywordSearchHelpersTest, CountsInWordsAndCharacterSets) {
  SetNumberLocale({'.', ','});
  std::string counts;
  for (int32_t n : {0, 1, 19, 20, 21, 99, 100, 2500}) counts += CountInWords(n) + "|";
  EXPECT_EQ(counts, "No|One|Nineteen|Twenty|Twenty one|Ninety nine|100|2,500|");
  EXPECT_EQ(FindFirstCharNotIn("ab!c!", 4, "abc"), 5);
  EXPECT_EQ(FindFirstCharNotIn("abc", 1, "abc"), 0);
  EXPECT_EQ(FindFirstCharNotIn("abc", 1, ""), 1);
  EXPECT_TRUE(IsPlainKeyword("Caf\xE9", ""));
  EXPECT_FALSE(IsPlainKeyword("dog-fish", ""));
  EXPECT_TRUE(IsPlainKeyword("dog-fish", "-"));
}

TEST_F(KeywordSearchTest, TheQueryLanguage) {
  p.frmMain.txbExtraKeywords.text = "Bird's nest  NEST zeta love+death";
  ASSERT_TRUE(GetExtraKeywords(p));
  EXPECT_EQ(p.frmMain.txbExtraKeywords.text, "bird nest  nest zeta love+death");  // written back
  EXPECT_EQ(ExtraKeywords(), (std::vector<std::string>{"bird", "love+death", "nest", "zeta"}));
  // Refusals keep the earlier keywords.
  p.frmMain.txbExtraKeywords.text = "cat+dog+cow";
  EXPECT_FALSE(GetExtraKeywords(p));
  EXPECT_EQ(host.Said(), "Invalid Input: A keyword cannot contain more then one '+'.\n");
  p.frmMain.txbExtraKeywords.text = "cat, dog";
  EXPECT_FALSE(GetExtraKeywords(p));
  EXPECT_EQ(host.Said(),
            "Invalid input: The extra keywords textbox contains an inadmissable character: ,\n");
  EXPECT_EQ(p.intNumExtraKeywords, 4);
  // Digits and hyphens follow the word options.
  p.frmMain.txbExtraKeywords.text = "19##";
  EXPECT_FALSE(GetExtraKeywords(p));
  p.frmParams.chkAllowWordsWithNumerals.value = 1;
  p.frmMain.txbExtraKeywords.text = "lov* ?at 19## love+death";
  ASSERT_TRUE(GetExtraKeywords(p));
  BuildKeywordHeads(p);
  EXPECT_EQ(
      std::vector<std::string>(p.strExtraKeywordHeads.begin() + 1, p.strExtraKeywordHeads.end()),
      (std::vector<std::string>{"19##", "?at", "lov*", "love"}));
  for (const char* w : {"love", "loved", "lover", "cat", "hat", "1984", "Love"})
    EXPECT_TRUE(IsSearchWord(p, w)) << w;
  for (const char* w : {"at", "glove", "19845", "death"}) EXPECT_FALSE(IsSearchWord(p, w)) << w;
}

TEST_F(KeywordSearchTest, TheKeywordsFile) {
  LoadKeywords("/* my keywords */\r\nCat dog-fish 42\r\n\r\nzebra cat b'c \xC9t\xC9\r\n",
               MsgResult::kYes, "Keys.TXT");
  EXPECT_EQ(SearchWords(), (std::vector<std::string>{"cat", "zebra", "\xE9t\xE9"}));
  EXPECT_TRUE(IsSearchWord(p, "zebra"));
  // The box shows the name in lower case; the file is still found.
  EXPECT_EQ(p.frmMain.txbFile[2].text, Utf8Lower(dir.path() + "/Keys.TXT"));
  EXPECT_EQ(host.Said(), "Keywords to search for: Display search words?\n");
  // The words left out are named; the box shows UTF-8.
  EXPECT_EQ(p.frmMain.txbOutput.text,
            "Three keywords loaded from " + p.frmMain.txbFile[2].text +
                "\r\n3 words of the file were left out (a keyword is made of "
                "letters only): dog-fish, 42, b'c\r\n\r\ncat zebra \xC3\xA9t\xC3\xA9 ");
  // A UTF-8 file with LF line ends and a Greek word: UTF-8 keywords for the Unicode
  // rules; under the Windows-1252 rules that word is left out with the others.
  const std::string greek =
      "\xC3\xA9t\xC3\xA9\nquoted single\n\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\n";
  LoadKeywords(greek);
  EXPECT_EQ(SearchWords(), (std::vector<std::string>{"quoted", "single", "\xC3\xA9t\xC3\xA9",
                                                     "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82"}));
  EXPECT_TRUE(IsSearchWord(p, "\xCE\x9B\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82"));  // any case
  p.frmParams.strWordRules = "windows-1252";
  LoadKeywords(greek);
  EXPECT_EQ(SearchWords(), (std::vector<std::string>{"quoted", "single", "\xE9t\xE9"}));
  EXPECT_NE(p.frmMain.txbOutput.text.find(
                "One word of the file was left out (a keyword is made of letters only): "
                "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\r\n"),
            std::string::npos);
  LoadKeywords("one\r\n");
  EXPECT_TRUE(p.frmMain.txbOutput.text.starts_with("One keyword word loaded from "));
  LoadKeywords("42 -\r\n");
  EXPECT_TRUE(p.frmMain.txbOutput.text.starts_with("No keywords loaded from "));
  // Files that cannot be read leave the keywords as they were.
  p.frmMain.txbFile[2].text = dir.path() + "/missing.txt";
  AttemptToReadSearchWords(p);
  EXPECT_FALSE(p.blnSearchWordsLoaded);
  EXPECT_TRUE(host.Said().ends_with("\nFile not found: The keywords file does not exist.\n"));
  const std::string broken = dir.Write("broken.txt", std::string(30000, 'a') + " b\r\n");
  testing::FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[broken].readOkBytes = 20000;
  p.frmMain.txbFile[2].text = broken;
  AttemptToReadSearchWords(p);
  EXPECT_EQ(host.Said(), "Search words: Error #57when reading search words from tile " +
                             Cp1252Lower(broken) + "\n");
  EXPECT_EQ(p.lngNumSearchWords, 0);
}

const std::string kLoveText =
    "Love is strong as death, love is sweet. The lover loved her. "
    "Death came. Love and death walked on. A cat and a hat sat at the mat.\r\n";

TEST_F(KeywordSearchTest, AKeywordWithATailListsOnlyTheLinesHoldingTheTail) {
  SearchMode(kLoveText);
  p.frmMain.cboContextSize.listIndex = 2;
  // "death," is a piece of its own: the first line of love does not hold "death".
  EXPECT_EQ(Search("love+death"), "[love 3]\r\n... Death came. Love and death\r\n");
  // A word none of whose lines hold the tail keeps its heading.
  EXPECT_EQ(Search("lover+death"), "[lover 1]\r\n");
  // A tail with a wildcard takes "death," too; matching ignores letter case.
  EXPECT_EQ(Search("love+DEATH*"),
            "[love 3]\r\n... Love is strong as death,\r\n... as death, love is sweet.\r\n"
            "... Death came. Love and death\r\n");
  // Keywords of the file list all their lines, once, whatever the extra keywords say.
  LoadKeywords("death\r\n");
  p.frmMain.cboContextSize.listIndex = 1;
  EXPECT_EQ(Search("death+nothing"),
            "[death 3]\r\n... as death, love\r\n... her. Death came.\r\n... and death walked\r\n");
}

TEST_F(KeywordSearchTest, AWordMatchingTwoHeadsIsListedOncePerHead) {
  SearchMode(kLoveText);
  p.frmMain.cboContextSize.listIndex = 1;
  p.frmMain.chkFrequencies.value = 0;
  const std::string got = Search("lov* love");
  // The concordance's entries of the same words, with the same options.
  auto entry = [this](const std::string& word) {
    p.frmMain.optCreate.value = true;
    std::string out;
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[static_cast<size_t>(i)].strWord == word) DisplayNextWord(p, i, out);
    }
    p.frmMain.optCreate.value = false;
    return out;
  };
  const std::string love = entry("love");
  const std::string loveLines = love.substr(love.find("]\r\n") + 3);
  EXPECT_EQ("\r\n" + got, love + loveLines + entry("loved") + entry("lover"));
  EXPECT_EQ(std::count(loveLines.begin(), loveLines.end(), '\n'), 3);
}

TEST_F(KeywordSearchTest, NoContextNoResultNoKeywordsAndNoCreateRules) {
  p.frmParams.chkIgnoreInfrequentWords.value = 1;  // would leave out words met once
  SearchMode(kLoveText);
  p.strExtraStopWords = " cat ";  // stop words do not count in a search
  p.frmMain.cboContextSize.listIndex = 0;
  // (No context lines, so none is selected: a "+" keyword lists its word too.)
  EXPECT_EQ(Search("?at love+nothing"), "cat 1\r\nhat 1\r\nlove 3\r\nmat 1\r\nsat 1\r\n");
  Search("zebra");
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  host.Said();
  Search("");
  EXPECT_EQ(host.Prompts(), std::vector<std::string>{"No keywords to search for.\r\nName a "
                                                     "keywords file or type extra keywords."});
}

TEST_F(KeywordSearchTest, TheSearchResultsFile) {
  SearchMode(kLoveText);
  // No name: the listing stays in the box and no file is written.
  p.frmMain.txbFile[1].text = "   ";
  Search("cat");
  EXPECT_EQ(p.frmMain.txbFile[1].text, "");
  EXPECT_FALSE(p.blnOutputFileCreated);
  EXPECT_TRUE(p.frmMain.txbOutput.text.starts_with("[cat 1]"));
  // A name with blanks around it: trimmed, and written without a question.
  const std::string results = dir.path() + "/results.txt";
  p.frmMain.txbFile[1].text = "  " + results + " ";
  host.Said();
  Search("cat");
  EXPECT_EQ(host.Said(), "");
  EXPECT_EQ(p.frmMain.txbFile[1].text, results);
  const std::string file = ReadWholeFile(results);
  const std::string head = "Input file: " + p.frmMain.txbFile[0].text +
                           "\nSearch results file created using Quillmoor (V.1.02): ";
  ASSERT_EQ(file.substr(0, head.size()), head);  // no MD5 line
  EXPECT_EQ(file.substr(head.size() + 16),
            "\n\n" + ReplaceAll(p.strOutputBuffer, "\r\n", "\n") + "\n");
  EXPECT_EQ(p.frmMain.lblSearchResultsFilesize.caption,
            "Search results filesize: " + std::to_string(file.size()) + " bytes");
  // With the warning box checked an existing file is replaced only on Yes.
  p.frmMain.chkWarnOnOverwrite.value = 1;
  host.answers = {MsgResult::kNo};
  Search("hat");
  EXPECT_EQ(host.messages.back().prompt, "A search results file \r\n" + results +
                                             "\r\nalready exists.  Do you wish to overwrite it?");
  EXPECT_EQ(ReadWholeFile(results), file);
  // A file that cannot be written: one message, the listing stays in the box.
  p.frmMain.txbFile[1].text = dir.path() + "/no-such-folder/results.txt";
  host.Said();
  Search("cat");
  EXPECT_TRUE(host.Said().starts_with("File output error: ")) << host.Said();
  EXPECT_TRUE(p.frmMain.txbOutput.text.starts_with("[cat 1]"));
}

TEST_F(KeywordSearchTest, TheMainWindowsKeywordRows) {
  SearchMode(kLoveText);
  // A keywords file typed into its box in Search mode is read at once.
  p.frmMain.txbFile[2].text = dir.Write("k.txt", "cat hat\r\n");
  host.answers = {MsgResult::kNo};
  InputFileLostFocus(p, 2);
  EXPECT_EQ(SearchWords(), (std::vector<std::string>{"cat", "hat"}));
  // Clear forgets them, and the summary goes with them.
  cmdClearFile_Click(p, 2);
  EXPECT_EQ(p.lngNumSearchWords, 0);
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  // Clear drops the extra keywords (leaving the box takes them: the window's test).
  p.intNumExtraKeywords = 1;
  cmdClearExtraKeywords_Click(p);
  EXPECT_EQ(p.intNumExtraKeywords, 0);
  // Choosing Search again reads the keywords file named in its box.
  optCreate_Click(p);
  p.frmMain.txbFile[2].text = dir.Write("k2.txt", "hat mat\r\n");
  host.answers = {MsgResult::kNo};
  optSearch_Click(p);
  EXPECT_EQ(SearchWords(), (std::vector<std::string>{"hat", "mat"}));
}

}  // namespace
}  // namespace quillmoor
