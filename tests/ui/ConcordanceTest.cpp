#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <tuple>

#include "output/Md5.h"
#include "shared/NumberFormat.h"
#include "support/TestProgram.h"
#include "ui/Concordance.h"
#include "ui/Defaults.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

using testing::FaultyFileSystem;
using testing::ReadWholeFile;
using testing::TempDir;

TEST(Md5Test, KnownVectorsAndFiles) {
  EXPECT_EQ(Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Md5Hex("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
  TempDir dir;
  std::string big(3 * 16384 + 7, 'q');  // several chunks and a short last one
  for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>(i % 251);
  int32_t err = 99;
  std::string text = "x";
  EXPECT_EQ(FileMD5(dir.Write("big.bin", big), err, text), Md5Hex(big));
  EXPECT_EQ(err, 0);
  for (const auto& [path, code, description] :
       std::vector<std::tuple<std::string, int32_t, std::string>>{
           {"", -4, ""},
           {"C:", -3, "Drive, not file"},
           {dir.path(), -2, "Folder, not file"},
           {dir.Write("empty", ""), -1, "Zero-length file"},
           {dir.path() + "/none", kErrFileNotFound, "File not found"}}) {
    EXPECT_EQ(FileMD5(path, err, text), "") << path;
    EXPECT_EQ(err, code) << path;
    if (code != -4) {
      EXPECT_EQ(text, description) << path;
    }
  }
}

class ConcordanceTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    input = dir.Write("book", "one two three\r\n");
    p.frmMain.txbFile[0].text = input;
    p.strRunTitle = p.GetProgramText(19);
  }
  std::string input;
};

TEST_F(ConcordanceTest, FileNameKeepsTheInputNameWhole) {
  EXPECT_EQ(ConcordanceFileName(p), input + ".oxn.con_a5.txt");
  p.frmMain.cboWordOrder.listIndex = 1;
  p.frmMain.cboContextSize.listIndex = 0;
  EXPECT_EQ(ConcordanceFileName(p), input + ".oxn.con_f0.txt");
  EXPECT_EQ(VersionText(), "1.02");
}

TEST_F(ConcordanceTest, TheTextboxHoldsAtMost65000Characters) {
  host.answers = {MsgResult::kNo};
  std::string exact(64990, 'x');
  exact += " tail12345";  // 65000 characters: too large, cut back after the last space
  p.strOutputBuffer = exact;
  FinishListing(p);
  EXPECT_EQ(p.frmMain.txbOutput.text, std::string(64990, 'x') + " ");
  EXPECT_EQ(host.Said(),
            "Create concordance file?: The concordance is too large for the textbox.\r\n\r\n"
            "Do you wish to write the concordance to a file\r\n" +
                input + ".oxn.con_a5.txt?\n");
  EXPECT_FALSE(FileExists(input + ".oxn.con_a5.txt"));  // declined: nothing written
  host.answers = {MsgResult::kNo};
  p.strOutputBuffer = std::string(64999, 'y');
  FinishListing(p);
  EXPECT_EQ(p.frmMain.txbOutput.text, std::string(64999, 'y'));
  EXPECT_TRUE(host.Said().starts_with(
      "Create concordance file?: The concordance is fully contained in the textbox."));

  host.answers = {MsgResult::kNo};
  p.strOutputBuffer = std::string(70000, 'z');  // no space at all
  FinishListing(p);
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  host.Said();
  p.strOutputBuffer = " \r\n\t";
  FinishListing(p);
  EXPECT_EQ(p.frmMain.txbOutput.text, "No result");
  EXPECT_EQ(host.Said(), "");
}

TEST_F(ConcordanceTest, WritesTheFileWithItsHeader) {
  // UTF-8 with LF line ends by default; Windows-1252 with CR LF as an option.
  for (const bool windows : {false, true}) {
    p.frmParams.chkWindowsText.value = windows ? 1 : 0;
    p.strOutputBuffer = "\r\n[caf\xE9 1]\r\n... one caf\xE9\r\n";
    FinishListing(p);  // the default answer Yes writes the file
    const std::string name = input + ".oxn.con_a5.txt";
    ASSERT_TRUE(p.blnConcordanceFileCreated);
    EXPECT_EQ(p.frmMain.lblConcordanceFile[1].caption, name);
    EXPECT_EQ(p.frmMain.txbOutput.text,
              "[caf\xC3\xA9 1]\r\n... one caf\xC3\xA9\r\n");  // the box: UTF-8
    const std::string eol = windows ? "\r\n" : "\n";
    const std::string e = windows ? "\xE9" : "\xC3\xA9";
    const std::string file = ReadWholeFile(name);
    const std::string head = "Input file: " + input + eol +
                             "MD5 message digest of input file: " + Md5Hex("one two three\r\n") +
                             eol + "Concordance file created using Quillmoor (V.1.02): ";
    ASSERT_TRUE(file.starts_with(head));
    EXPECT_EQ(file.substr(head.size() + 16),
              eol + eol + "[caf" + e + " 1]" + eol + "... one caf" + e + eol + eol);
  }
  EXPECT_EQ(p.frmMain.lblNumberOfWords.caption, "Number of keywords found: 0");
}

TEST_F(ConcordanceTest, OverwritingAsksWhenTheWarningIsOn) {
  const std::string name = input + ".oxn.con_a5.txt";
  dir.Write("book.oxn.con_a5.txt", "old");
  p.frmMain.chkWarnOnOverwrite.value = 1;
  p.strOutputBuffer = "[one 1]\r\n";
  host.answers = {MsgResult::kYes, MsgResult::kNo};
  FinishListing(p);
  EXPECT_TRUE(host.Said().ends_with("\nFile exists: A concordance file \r\n" + name +
                                    "\r\nalready exists.  Do you wish to overwrite it?\n"));
  EXPECT_EQ(ReadWholeFile(name), "old");
  // Unchecked, the file is replaced without a question.
  p.frmMain.chkWarnOnOverwrite.value = 0;
  FinishListing(p);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_NE(ReadWholeFile(name), "old");
}

TEST_F(ConcordanceTest, WriteErrorsAreReportedAndKeepTheOldFile) {
  const std::string name = input + ".oxn.con_a5.txt";
  dir.Write("book.oxn.con_a5.txt", "old concordance");
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  p.strOutputBuffer = "[one 1]\r\n" + std::string(5000, 'w');
  // A read-only folder.
  fs.writeFaults[dir.path()].openError = {kErrPermissionDenied, "Permission denied"};
  FinishListing(p);
  const std::string said = host.Said();
  EXPECT_TRUE(
      said.ends_with("\nFile output error: Error 70: Permission denied\n"
                     "Error: An error occurred when creating the concordance file.\n"))
      << said;
  EXPECT_EQ(ReadWholeFile(name), "old concordance");
  // A disk that fills up during the write.
  fs.writeFaults[dir.path()] = FaultyFileSystem::WriteFault{};
  fs.writeFaults[dir.path()].writeOkBytes = 100;
  FinishListing(p);
  EXPECT_EQ(host.messages[1].prompt, "Error 61: Disk full");
  EXPECT_EQ(ReadWholeFile(name), "old concordance");
  EXPECT_FALSE(FileExists(name + ".quillmoor-new"));
}

// The draft written while the listing grows (in slices of a megabyte) makes the file
// and the output box of a listing written whole at the end; a refusal or a write error
// at the end leaves the old file and nothing else.
TEST_F(ConcordanceTest, ADraftMakesTheFileTheWholeListingMakes) {
  std::mt19937 rng(5);
  std::vector<std::string> entries;
  size_t size = 0;
  while (size < (3 << 20) + 12345) {
    std::string entry = "\r\n[w" + std::to_string(entries.size()) + " 2]\r\n";
    for (int line = 0; line < 1 + static_cast<int>(rng() % 40); ++line) {
      entry += "... caf\xE9 " + std::string(1 + rng() % 70, static_cast<char>('a' + rng() % 26)) +
               "\r\n";
    }
    size += entry.size();
    entries.push_back(std::move(entry));
  }
  const std::string name = input + ".oxn.con_a5.txt";
  const auto list = [&](bool draft) {
    p.blnDraftConcordance = draft;
    StartConcordanceDraft(p);
    p.strOutputBuffer.clear();
    for (const std::string& entry : entries) {
      // The listing begins at its first visible character (as the run makes it).
      p.strOutputBuffer += p.strOutputBuffer.empty() ? entry.substr(2) : entry;
      SpillListing(p);
    }
    FinishListing(p);
  };
  const auto leftovers = [&] {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      n += entry.path().filename().string().find(".quillmoor-") != std::string::npos;
    }
    return n;
  };
  // Everything but the date.
  const auto body = [&] {
    std::string text = ReadWholeFile(name);
    const size_t date = text.find("(V.1.02): ");
    return date == std::string::npos ? text : text.erase(date, 26);
  };
  for (const bool windows : {false, true}) {
    p.frmParams.chkWindowsText.value = windows ? 1 : 0;
    list(false);
    const std::string whole = body();
    const std::string box = p.frmMain.txbOutput.text;
    list(true);
    EXPECT_GT(p.lngListingSpilled, 2u << 20);
    EXPECT_LT(p.strOutputBuffer.size(), 2u << 20);
    const std::string drafted = body();
    EXPECT_TRUE(drafted == whole)
        << "sizes " << drafted.size() << " and " << whole.size() << ", first difference at "
        << std::mismatch(drafted.begin(), drafted.end(), whole.begin(), whole.end()).first -
               drafted.begin();
    EXPECT_EQ(p.frmMain.txbOutput.text, box);
    EXPECT_EQ(leftovers(), 0);
  }
  dir.Write("book.oxn.con_a5.txt", "old");
  p.frmMain.chkWarnOnOverwrite.value = 1;
  host.answers = {MsgResult::kYes, MsgResult::kNo};
  list(true);
  EXPECT_EQ(host.messages.back().title, "File exists");
  EXPECT_EQ(ReadWholeFile(name), "old");
  EXPECT_EQ(leftovers(), 0);
  // The disk fills up while the listing is being made: said at the end, as always.
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.writeFaults[dir.path()].writeOkBytes = 100000;
  host.messages.clear();
  list(true);
  ASSERT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(host.messages[2].prompt, "Error 61: Disk full");
  EXPECT_EQ(ReadWholeFile(name), "old");
  EXPECT_EQ(leftovers(), 0);
}

}  // namespace
}  // namespace quillmoor
