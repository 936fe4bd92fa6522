#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "output/Compressor.h"
#include "output/IndexFile.h"
#include "output/Md5.h"
#include "shared/FileSystem.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"
#include "support/TestProgram.h"
#include "ui/IndexFiles.h"
#include "ui/InputFile.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Timers.h"

namespace quillmoor {
namespace {

using testing::FilesIn;
using testing::ReadWholeFile;
using testing::TempDir;

const std::string kText =
    "The old river ran past the mill, and the old river ran on.\r\n"
    "Rivers run; the river never stops. Love and death by the river.\r\n";

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
  void SetUp() override {
    for (Program* q : {&p, &p2}) {
      testing::StartForTest(*q);
      EnableControls(*q, true);
    }
    input = dir.Write("book.txt", kText);
    // A concordance run with the index file.
    p.frmMain.txbFile[0].text = input;
    InputFileLostFocus(p, 0);
    p.frmMain.chkCreateIndexFile.value = 1;
    host.answers = {MsgResult::kYes};  // "Create concordance file?"
    cmdListWords_Click(p);
    index = dir.path() + "/book.oxn.ndx";
  }
  // Chooses the input in a second program that answers the index questions `answers`.
  void Choose(std::deque<MsgResult> answers) {
    host2.messages.clear();
    host2.answers = std::move(answers);
    host2.fileNames = {input};
    SelectFile(p2, 0);
  }
  // Stores `text` compressed as the index.
  void StoreIndex(const std::string& text) {
    const std::string plain = dir.Write("plain", text);
    ASSERT_TRUE(CompressFile(plain, dir.path() + "/scratch", 1));
    std::filesystem::rename(plain, index);
  }

  ScriptedHost host;
  Program p{host};
  ScriptedHost host2;
  Program p2{host2};
  TempDir dir;
  std::string input, index;
};

TEST(IndexFileNameTest, TheLastDotOfTheWholePath) {
  EXPECT_EQ(IndexFileNameFor("/texts/book.txt"), "/texts/book.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor("/my.docs/book"), "/my.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor("dir.v2/book"), "dir.oxn.ndx");
  EXPECT_EQ(IndexFileNameFor("/texts/book"), "/texts/book.oxn.ndx");
  EXPECT_EQ(NumberLine(1234), " 1234 ");
  TempDir dir;
  const std::string index = dir.path() + "/book.oxn.ndx";
  dir.Write("book.oxn.ndx1", "taken");
  EXPECT_EQ(UniqueFileName(index), index + "2");
}

TEST_F(IndexFileTest, AnIndexRoundTripListsExactlyAsTheScan) {
  ASSERT_TRUE(p.blnIndexFileCurrent);
  const std::string stored = ReadWholeFile(index);
  EXPECT_EQ(stored.substr(0, 2), "\x1F\x8B");  // gzip
  const std::string text = Expanded(index);
  int32_t err = 0;
  std::string errText;
  EXPECT_TRUE(text.starts_with(FileMD5(input, err, errText) + "\r\n"));
  EXPECT_NE(text.find("\r\n " + std::to_string(p.lngNumWords) + " \r\n " +
                      std::to_string(p.intPositionDigits) + " \r\n " +
                      std::to_string(p.lngFirstFreq) + " \r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\nriver*1*5*"), std::string::npos) << text;
  EXPECT_FALSE(text.ends_with("\r\n\r\n"));  // no terminator line
  // Another program chooses the input: the index replaces the scan.
  Choose({MsgResult::kYes});
  ASSERT_TRUE(p2.blnIndexFileCurrent);
  EXPECT_EQ(host2.messages.back().title, "Index file found");
  EXPECT_TRUE(
      host2.messages.back().prompt.starts_with("An index file of this input file, made on 20"));
  EXPECT_EQ(p2.frmMain.txbOutput.text,
            "The word table was loaded from the index file.\r\nClick the button to list the words "
            "or to search "
            "them for keywords.");
  EXPECT_EQ(FilesIn(dir.path()),
            (std::vector<std::string>{"book.oxn.ndx", "book.txt", "book.txt.oxn.con_a5.txt"}));
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
  p2.frmMain.txbExtraKeywords.text = "riv*";
  cmdListWords_Click(p2);
  EXPECT_TRUE(p2.strOutputBuffer.starts_with("[river 5]\r\n")) << p2.strOutputBuffer;
  // With extra keywords in their box, a loaded index turns the window to Search.
  optCreate_Click(p2);
  Choose({MsgResult::kYes});
  EXPECT_EQ(p2.frmMain.cmdListWords.caption, "Search");
}

// A link or a folder under the numbered scratch names neither stops the index nor
// receives it.
TEST_F(IndexFileTest, EntriesUnderTheScratchNamesAreLeftAlone) {
  const std::string victim = dir.path() + "/victim.txt";
  std::filesystem::create_directory(index + "1");
  std::filesystem::create_symlink(victim, index + "2");
  std::filesystem::remove(index);
  WriteIndexFile(p);
  ASSERT_TRUE(p.blnIndexFileCurrent) << p.indexError.description;
  Choose({MsgResult::kYes});
  EXPECT_TRUE(p2.blnIndexFileCurrent);
  EXPECT_FALSE(std::filesystem::exists(victim));
  EXPECT_TRUE(std::filesystem::is_symlink(index + "2"));
  EXPECT_TRUE(std::filesystem::is_empty(index + "1"));
  EXPECT_EQ(FilesIn(dir.path()),
            (std::vector<std::string>{"book.oxn.ndx", "book.oxn.ndx1", "book.oxn.ndx2", "book.txt",
                                      "book.txt.oxn.con_a5.txt"}));
}

TEST_F(IndexFileTest, AnEmptyTableWritesTheHeaderOnly) {
  p.frmMain.txbFile[0].text = dir.Write("numbers.txt", "123 456, 789.\r\n");
  InputFileLostFocus(p, 0);
  cmdListWords_Click(p);
  EXPECT_EQ(p.lngNumWords, 0);
  const std::string text = Expanded(dir.path() + "/numbers.oxn.ndx");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
  EXPECT_NE(text.find("\r\n 0 \r\n"), std::string::npos);
}

TEST_F(IndexFileTest, StaleDeclinedAndDeletedIndexes) {
  Choose({MsgResult::kNo, MsgResult::kNo});
  EXPECT_FALSE(p2.blnIndexFileCurrent);
  EXPECT_EQ(host2.messages.back().title, "Index file");
  EXPECT_EQ(host2.messages.back().prompt, "Do you wish to delete this index file?");
  EXPECT_TRUE(FileExists(index));
  Choose({MsgResult::kNo, MsgResult::kYes});
  EXPECT_FALSE(FileExists(index));
  // A changed input makes the index stale: deleted with the notice.
  WriteIndexFile(p);
  dir.Write("book.txt", kText + "One more line.\r\n");
  Choose({});
  EXPECT_FALSE(p2.blnIndexFileCurrent);
  EXPECT_EQ(host2.messages.back().title, "Bad index file");
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"book.txt", "book.txt.oxn.con_a5.txt"}));
}

TEST_F(IndexFileTest, AFailedWriteKeepsTheEarlierIndexAndLeavesNothingBehind) {
  const std::string before = ReadWholeFile(index);
  testing::FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.writeFaults[index] = {};              // the index's scratch names begin with its name
  for (long long okBytes : {0LL, 64LL}) {  // opening fails, or writing fails midway
    fs.writeFaults[index].openError =
        okBytes == 0 ? FileError{kErrPermissionDenied, "Permission denied"} : FileError{};
    fs.writeFaults[index].writeOkBytes = okBytes;
    WriteIndexFile(p);
    EXPECT_FALSE(p.blnIndexFileCurrent);
    EXPECT_EQ(ReadWholeFile(index), before);
    EXPECT_EQ(FilesIn(dir.path()).size(), 3u);
  }
}

// Damaged index files are not used, and the next run scans: a damaged stream is a
// silent read error; a damaged text made for this input is deleted with the notice.
TEST_F(IndexFileTest, DamagedIndexesAreNotUsed) {
  const std::string good = Expanded(index);
  const std::string stored = ReadWholeFile(index);
  const int32_t n = p.lngNumWords;
  auto header = [&good](int k, const std::string& line) {  // header line k (3 to 5) replaced
    size_t at = 0;
    for (int i = 1; i < k; ++i) at = good.find("\r\n", at) + 2;
    return good.substr(0, at) + line + good.substr(good.find("\r\n", at));
  };
  auto wordLine = [&good](const std::string& word, const std::string& line) {  // its line replaced
    const size_t at = good.find("\r\n" + word + "*") + 2;
    return good.substr(0, at) + line + good.substr(good.find("\r\n", at));
  };
  auto love = [&wordLine](const std::string& line) { return wordLine("love", line); };
  const WordRecord& top = p.arrWords[static_cast<size_t>(p.lngFirstFreq)];
  auto pos = [this](int v) {
    std::string s = std::to_string(v);
    return std::string(static_cast<size_t>(p.intPositionDigits) - s.size(), '0') + s;
  };
  auto positions = [&pos](const WordRecord& r) {
    std::string all;
    for (int32_t v : r.positions) all += pos(v);
    return all;
  };
  std::string corrupt = stored;
  for (size_t i = 12; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  const std::vector<std::pair<std::string, std::string>> raw = {
      {"truncated gzip", stored.substr(0, stored.size() / 2)},
      {"corrupt gzip", corrupt},
      {"not compressed", good},
      {"empty", ""}};
  const std::vector<std::pair<std::string, std::string>> texts = {
      {"more words than lines", header(3, NumberLine(n + 1))},
      {"negative count", header(3, " -1 ")},
      {"huge count", header(3, " 2147483646 ")},
      {"count not a number", header(3, " many ")},
      {"width 0", header(4, " 0 ")},
      {"width 11", header(4, " 11 ")},
      {"first by frequency outside", header(5, NumberLine(n + 1))},
      {"missing field", love("love*1*1*0")},
      {"a sixth field", love("love*1*1*0*" + pos(5) + "*x")},
      {"field too wide", love("love*1*1*0*" + pos(5) + "0")},
      {"fewer positions than the count", love("love*1*2*0*" + pos(5))},
      {"next outside", love("love*1*1*" + std::to_string(n + 1) + "*" + pos(5))},
      {"position 0", love("love*1*1*0*" + pos(0))},
      {"position beyond the text",
       love("love*1*1*0*" + std::string(static_cast<size_t>(p.intPositionDigits), '9'))},
      {"position not a number", love("love*1*1*0*" + pos(5).substr(1) + "x")},
      {"empty word", love("*1*1*0*" + pos(5))},
      {"a word line more than the count", good + "zzz*1*1*0*" + pos(5) + "\r\n"},
      {"words out of order", love("zzz*1*1*0*" + pos(5))},
      {"a word twice", love("death*1*1*0*" + pos(5))},
      {"a word too long", love(std::string(31, 'l') + "*1*1*0*" + pos(5))},
      {"a control character", love(std::string("lo\0e", 4) + "*1*1*0*" + pos(5))},
      {"a frequency chain in a circle",
       wordLine(top.strWord, top.strWord + "*1*" + std::to_string(top.lngFrequency) + "*" +
                                 std::to_string(p.lngFirstFreq) + "*" + positions(top))}};
  auto expectRefused = [this](const std::string& what, bool deleted) {
    Choose({MsgResult::kYes});
    EXPECT_FALSE(p2.blnIndexFileCurrent) << what;
    std::vector<std::string> left = {"book.oxn.ndx", "book.txt", "book.txt.oxn.con_a5.txt"};
    if (deleted) {
      left.erase(left.begin());
      EXPECT_EQ(host2.messages.back().title, "Bad index file") << what;
    }
    EXPECT_EQ(FilesIn(dir.path()), left) << what;
    p2.blnStopAfterCounts = true;  // the next run scans
    cmdListWords_Click(p2);
    EXPECT_EQ(p2.lngNumWords, p.lngNumWords) << what;
  };
  for (const auto& [what, bytes] : raw) {
    dir.Write("book.oxn.ndx", bytes);
    expectRefused(what, false);
  }
  for (const auto& [what, text] : texts) {
    StoreIndex(text);
    expectRefused(what, true);
  }
  // The undamaged text stored the same way is taken, also without its last line end.
  StoreIndex(good.substr(0, good.size() - 2));
  Choose({MsgResult::kYes});
  EXPECT_TRUE(p2.blnIndexFileCurrent);
  EXPECT_EQ(p2.lngNumWords, p.lngNumWords);
}

TEST_F(IndexFileTest, AnUnreadableDocumentDropsItsIndex) {
  // The document cannot be read, so its digest cannot be made either: an index that
  // stores no digest then passes the check and is read, but not kept.
  StoreIndex("\r\n2026-01-01 10:00\r\n 1 \r\n 1 \r\n 1 \r\nabc*1*1*0*2\r\n");
  p2.frmMain.txbFile[0].text = input;
  testing::FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[input].readOkBytes = 0;
  host2.answers = {MsgResult::kYes};
  LoadIndexIfPresent(p2);
  EXPECT_FALSE(p2.blnIndexFileCurrent);
  EXPECT_EQ(p2.lngNumWords, 0);
  EXPECT_EQ(host2.messages.back().prompt,
            "The input file cannot be read, so its index file was not loaded.");
  EXPECT_EQ(host2.messages.back().title, "Index file");
  EXPECT_EQ(FilesIn(dir.path()).size(), 3u);
}

}  // namespace
}  // namespace quillmoor
