#include "output/IndexFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/RunDriver.h"
#include "input/InputFile.h"
#include "output/Compressor.h"
#include "output/Md5.h"
#include "shared/FileSystem.h"
#include "shared/Program.h"
#include "shared/ScriptedHost.h"
#include "support/TestFiles.h"
#include "support/TestProgram.h"
#include "ui/MainWindow.h"
#include "ui/Timers.h"

namespace quillmoor {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

const std::string kText =
    "The old river ran past the mill, and the old river ran on.\r\n"
    "Rivers run; the river never stops. Love and death by the river.\r\n";

// The names of the files in `dir`, sorted.
std::vector<std::string> FilesIn(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The expanded text of a compressed file.
std::string Expanded(const std::string& path) {
  const std::string target = path + ".expanded";
  if (!DecompressFile(path, target, 0, 1 << 26)) return "(not compressed)";
  std::string text = ReadWholeFile(target);
  std::filesystem::remove(target);
  return text;
}

class IndexFileTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(p); }
  void Start(Program& program) {
    testing::StartForTest(program);
    EnableControls(program, true);
  }
  // A concordance run of `program` on `input`, with or without the index file.
  void CreateRun(Program& program, ScriptedHost& h, const std::string& input, bool index) {
    program.frmMain.txbFile[0].text = input;
    InputFileLostFocus(program, 0);
    program.frmMain.chkCreateIndexFile.value = index ? 1 : 0;
    h.answers = {MsgResult::kYes};  // "Create concordance file?"
    cmdListWords_Click(program);
  }
  // Chooses `input` in a second program that answers the index questions `answers`.
  void Choose(const std::string& input, std::deque<MsgResult> answers) {
    host2.messages.clear();
    host2.answers = std::move(answers);
    host2.fileNames = {input};
    SelectFile(p2, 0);
  }

  ScriptedHost host;
  Program p{host};
  ScriptedHost host2;
  Program p2{host2};
  TempDir dir;
};

TEST(IndexFileNameTest, TheLastDotOfTheWholePath) {
  EXPECT_EQ(IndexFileNameFor("/texts/book.txt"), "/texts/book.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor("/my.docs/book"), "/my.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor("dir.v2/book"), "dir.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor("/texts/book"), "/texts/book.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor(""), "");
  EXPECT_TRUE(IsIndexFileName(IndexFileNameFor("/texts/Book.TXT")));
  EXPECT_EQ(NumberLine(1234), " 1234 ");
  EXPECT_EQ(NumberLine(0), " 0 ");
  TempDir dir;
  const std::string index = dir.path() + "/book.oxn.ndx";
  EXPECT_EQ(UniqueFileName(index), index + "1");
  dir.Write("book.oxn.ndx1", "taken");
  EXPECT_EQ(UniqueFileName(index), index + "2");
}

TEST_F(IndexFileTest, AnIndexRoundTripListsExactlyAsTheScan) {
  const std::string input = dir.Write("book.txt", kText);
  CreateRun(p, host, input, true);
  ASSERT_TRUE(p.blnIndexFileCurrent);
  const std::string index = dir.path() + "/book.oxn.ndx";
  const std::string stored = ReadWholeFile(index);
  ASSERT_GE(stored.size(), 2u);
  EXPECT_EQ(stored.substr(0, 2), "\x1F\x8B");  // gzip
  const std::string text = Expanded(index);
  int32_t err = 0;
  std::string errText;
  EXPECT_TRUE(text.starts_with(FileMD5(input, err, errText) + "\r\n"));
  EXPECT_NE(text.find("\r\n " + std::to_string(p.lngNumWords) + " \r\n " + std::to_string(p.intPositionDigits) +
                      " \r\n " + std::to_string(p.lngFirstFreq) + " \r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\nriver*1*5*"), std::string::npos) << text;
  EXPECT_FALSE(text.ends_with("\r\n\r\n"));  // no terminator line
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"book.oxn.ndx", "book.txt", "book.txt.oxn.con_a5.txt"}));

  // Another program chooses the input: the index replaces the scan.
  Start(p2);
  Choose(input, {MsgResult::kYes});
  ASSERT_TRUE(p2.blnIndexFileCurrent);
  EXPECT_TRUE(p2.blnWordsGot);
  ASSERT_GE(host2.messages.size(), 1u);
  EXPECT_EQ(host2.messages.back().title, "Index file found");
  EXPECT_TRUE(host2.messages.back().prompt.starts_with("An index file of this input file, made on 20"));
  EXPECT_EQ(p2.frmMain.txbOutput.text,
            "The word table was loaded from the index file.\r\nClick the button to list the words or to search "
            "them for keywords.");
  ASSERT_EQ(p2.lngNumWords, p.lngNumWords);
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    EXPECT_EQ(p2.arrWords[i].strWord, p.arrWords[i].strWord);
    EXPECT_EQ(p2.arrWords[i].positions, p.arrWords[i].positions);
    EXPECT_EQ(p2.arrWords[i].lngNextByFreq, p.arrWords[i].lngNextByFreq);
  }
  EXPECT_EQ(p2.strLine1, p.strLine1);
  EXPECT_EQ(FilesIn(dir).size(), 3u);  // the scratch file is gone
  RefreshFileSizeLabels(p2);
  EXPECT_EQ(p2.frmMain.lblIndexFilesize.caption,
            "Index filesize: " + std::to_string(stored.size()) + " bytes");
  // The listings agree byte for byte, in both orders and in Search mode.
  for (int order : {0, 1}) {
    p.frmMain.cboWordOrder.listIndex = p2.frmMain.cboWordOrder.listIndex = order;
    for (Program* q : {&p, &p2}) {
      q->blnStopAfterCounts = true;  // the counts and the listing, no file
      cmdListWords_Click(*q);
      ListWords(*q);
    }
    EXPECT_EQ(p2.strOutputBuffer, p.strOutputBuffer) << order;
  }
  host2.answers.clear();
  optSearch_Click(p2);  // the index is enough for Search
  EXPECT_TRUE(p2.frmMain.optSearch.value);
  p2.frmMain.txbExtraKeywords.text = "riv*";
  cmdListWords_Click(p2);
  EXPECT_TRUE(p2.strOutputBuffer.starts_with("[river 5]\r\n")) << p2.strOutputBuffer;
}

TEST_F(IndexFileTest, ExtraKeywordsTurnTheLoadedIndexToSearchMode) {
  const std::string input = dir.Write("book.txt", kText);
  CreateRun(p, host, input, true);
  Start(p2);
  p2.frmMain.txbExtraKeywords.text = "love";
  Choose(input, {MsgResult::kYes});
  EXPECT_TRUE(p2.frmMain.optSearch.value);
  EXPECT_EQ(p2.frmMain.cmdListWords.caption, "Search");
}

TEST_F(IndexFileTest, AnEmptyTableWritesTheHeaderOnly) {
  const std::string input = dir.Write("numbers.txt", "123 456, 789.\r\n");
  CreateRun(p, host, input, true);
  EXPECT_EQ(p.lngNumWords, 0);
  ASSERT_TRUE(p.blnIndexFileCurrent);
  const std::string text = Expanded(dir.path() + "/numbers.oxn.ndx");
  size_t lines = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, 5u);
  EXPECT_NE(text.find("\r\n 0 \r\n"), std::string::npos);
}

TEST_F(IndexFileTest, AStaleIndexIsDeletedWithANotice) {
  const std::string input = dir.Write("book.txt", kText);
  CreateRun(p, host, input, true);
  dir.Write("book.txt", kText + "One more line.\r\n");
  Start(p2);
  Choose(input, {});
  EXPECT_FALSE(p2.blnIndexFileCurrent);
  EXPECT_FALSE(p2.blnWordsGot);
  ASSERT_FALSE(host2.messages.empty());
  EXPECT_EQ(host2.messages.back().title, "Bad index file");
  EXPECT_EQ(host2.messages.back().icon, MsgIcon::kInformation);
  EXPECT_FALSE(FileExists(dir.path() + "/book.oxn.ndx"));
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"book.txt", "book.txt.oxn.con_a5.txt"}));
}

TEST_F(IndexFileTest, DecliningTheIndexOffersToDeleteIt) {
  const std::string input = dir.Write("book.txt", kText);
  CreateRun(p, host, input, true);
  Start(p2);
  Choose(input, {MsgResult::kNo, MsgResult::kNo});
  EXPECT_FALSE(p2.blnIndexFileCurrent);
  EXPECT_EQ(host2.messages.back().title, "Index file");
  EXPECT_EQ(host2.messages.back().prompt, "Do you wish to delete this index file?");
  EXPECT_TRUE(FileExists(dir.path() + "/book.oxn.ndx"));
  Choose(input, {MsgResult::kNo, MsgResult::kYes});
  EXPECT_FALSE(FileExists(dir.path() + "/book.oxn.ndx"));
  EXPECT_EQ(FilesIn(dir).size(), 2u);
}

TEST_F(IndexFileTest, AFailedWriteKeepsTheEarlierIndexAndLeavesNothingBehind) {
  const std::string input = dir.Write("book.txt", kText);
  CreateRun(p, host, input, true);
  const std::string index = dir.path() + "/book.oxn.ndx";
  const std::string before = ReadWholeFile(index);
  testing::FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.writeFaults[index] = {};  // the index's scratch names begin with its name
  p.blnIndexFileCurrent = false;
  WriteIndexFile(p);
  EXPECT_FALSE(p.blnIndexFileCurrent);
  EXPECT_EQ(ReadWholeFile(index), before);
  EXPECT_EQ(FilesIn(dir).size(), 3u);
  // A fault while compressing (the second file written) also leaves nothing.
  fs.writeFaults[index].openError = FileError{};
  fs.writeFaults[index].writeOkBytes = 64;
  WriteIndexFile(p);
  EXPECT_FALSE(p.blnIndexFileCurrent);
  EXPECT_EQ(ReadWholeFile(index), before);
  EXPECT_EQ(FilesIn(dir).size(), 3u);
}

// Damaged index files: each is a silent read error after which the next run scans.
class DamagedIndexTest : public IndexFileTest {
 protected:
  void SetUp() override {
    IndexFileTest::SetUp();
    input = dir.Write("book.txt", kText);
    CreateRun(p, host, input, true);
    index = dir.path() + "/book.oxn.ndx";
    good = Expanded(index);
    Start(p2);
  }
  // Stores `text` compressed as the index.
  void StoreIndex(const std::string& text) {
    const std::string plain = dir.Write("plain", text);
    ASSERT_TRUE(CompressFile(plain, dir.path() + "/scratch", 1));
    std::filesystem::rename(plain, index);
  }
  // The good text with the word line of `word` replaced by `line`.
  std::string WithLine(const std::string& word, const std::string& line) {
    const size_t at = good.find("\r\n" + word + "*") + 2;
    return good.substr(0, at) + line + good.substr(good.find("\r\n", at));
  }
  // The good text with header line `k` (3 to 5) replaced by `line`.
  std::string WithHeader(int k, const std::string& line) {
    size_t at = 0;
    for (int i = 1; i < k; ++i) at = good.find("\r\n", at) + 2;
    return good.substr(0, at) + line + good.substr(good.find("\r\n", at));
  }
  void ExpectRefused(const std::string& what) {
    Choose(input, {MsgResult::kYes});
    EXPECT_FALSE(p2.blnIndexFileCurrent) << what;
    EXPECT_FALSE(p2.blnWordsGot) << what;
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"book.oxn.ndx", "book.txt", "book.txt.oxn.con_a5.txt"}))
        << what;
    // The next run scans and lists.
    p2.blnStopAfterCounts = true;
    cmdListWords_Click(p2);
    EXPECT_EQ(p2.lngNumWords, p.lngNumWords) << what;
  }
  std::string input, index, good;
};

TEST_F(DamagedIndexTest, DamagedStreams) {
  const std::string stored = ReadWholeFile(index);
  dir.Write("book.oxn.ndx", stored.substr(0, stored.size() / 2));
  ExpectRefused("truncated gzip");
  std::string corrupt = stored;
  for (size_t i = 12; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  dir.Write("book.oxn.ndx", corrupt);
  ExpectRefused("corrupt gzip");
  dir.Write("book.oxn.ndx", good);
  ExpectRefused("not compressed");
  dir.Write("book.oxn.ndx", "");
  ExpectRefused("empty");
}

TEST_F(DamagedIndexTest, DamagedCountsAndLinks) {
  const int32_t n = p.lngNumWords;
  StoreIndex(WithHeader(3, NumberLine(n + 1)));
  ExpectRefused("more words than lines");
  StoreIndex(WithHeader(3, " -1 "));
  ExpectRefused("negative count");
  StoreIndex(WithHeader(3, " 2147483646 "));
  ExpectRefused("huge count");
  StoreIndex(WithHeader(3, " many "));
  ExpectRefused("count not a number");
  StoreIndex(WithHeader(4, " 0 "));
  ExpectRefused("width 0");
  StoreIndex(WithHeader(4, " 11 "));
  ExpectRefused("width 11");
  StoreIndex(WithHeader(5, NumberLine(n + 1)));
  ExpectRefused("first by frequency outside the table");
}

TEST_F(DamagedIndexTest, DamagedWordLines) {
  const std::string w = std::to_string(p.intPositionDigits);
  auto pos = [this](int v) {
    std::string s = std::to_string(v);
    return std::string(static_cast<size_t>(p.intPositionDigits) - s.size(), '0') + s;
  };
  StoreIndex(WithLine("love", "love*1*1*0"));
  ExpectRefused("missing field");
  StoreIndex(WithLine("love", "love*1*1*0*" + pos(5) + "*x"));
  ExpectRefused("a sixth field");
  StoreIndex(WithLine("love", "love*1*1*0*" + pos(5) + "0"));
  ExpectRefused("position field too wide");
  StoreIndex(WithLine("love", "love*1*2*0*" + pos(5)));
  ExpectRefused("fewer positions than the count");
  StoreIndex(WithLine("love", "love*1*1*" + std::to_string(p.lngNumWords + 1) + "*" + pos(5)));
  ExpectRefused("next by frequency outside the table");
  StoreIndex(WithLine("love", "love*1*1*0*" + pos(0)));
  ExpectRefused("position 0");
  StoreIndex(WithLine("love", "love*1*1*0*" + std::string(static_cast<size_t>(p.intPositionDigits), '9')));
  ExpectRefused("position beyond the text");
  StoreIndex(WithLine("love", "love*1*1*0*" + pos(5).substr(1) + "x"));
  ExpectRefused("position not a number");
  StoreIndex(WithLine("love", "*1*1*0*" + pos(5)));
  ExpectRefused("empty word");
  // The undamaged text stored the same way is taken, also without its last line end.
  StoreIndex(good);
  Choose(input, {MsgResult::kYes});
  EXPECT_TRUE(p2.blnIndexFileCurrent);
  ASSERT_TRUE(good.ends_with("\r\n"));
  StoreIndex(good.substr(0, good.size() - 2));
  Choose(input, {MsgResult::kYes});
  EXPECT_TRUE(p2.blnIndexFileCurrent);
  EXPECT_EQ(p2.lngNumWords, p.lngNumWords);
}

TEST_F(IndexFileTest, AnUnreadableDocumentDropsItsIndex) {
  // The document cannot be read, so its digest cannot be made either: an index that
  // stores no digest then passes the check and is read, but not kept.
  const std::string input = dir.Write("doc.txt", "abc def\r\n");
  const std::string plain = dir.Write("plain", "\r\n2026-01-01 10:00\r\n 1 \r\n 1 \r\n 1 \r\nabc*1*1*0*2\r\n");
  ASSERT_TRUE(CompressFile(plain, dir.path() + "/scratch", 1));
  std::filesystem::rename(plain, dir.path() + "/doc.oxn.ndx");
  Start(p2);
  p2.frmMain.txbFile[0].text = input;
  testing::FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[input].readOkBytes = 0;
  host2.answers = {MsgResult::kYes};
  LoadIndexIfPresent(p2);
  EXPECT_FALSE(p2.blnIndexFileCurrent);
  EXPECT_FALSE(p2.blnWordsGot);
  EXPECT_EQ(p2.lngNumWords, 0);
  EXPECT_EQ(p2.strIndexFile, "");
  ASSERT_FALSE(host2.messages.empty());
  EXPECT_EQ(host2.messages.back().prompt, "The input file cannot be read, so its index file was not loaded.");
  EXPECT_EQ(host2.messages.back().title, "Index file");
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"doc.oxn.ndx", "doc.txt"}));
}

}  // namespace
}  // namespace quillmoor
