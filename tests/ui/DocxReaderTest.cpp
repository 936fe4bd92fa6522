#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/Reference.h"
#include "support/TestProgram.h"
#include "support/Text.h"
#include "support/ZipFiles.h"
#include "ui/DocxReader.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteZip;

// A document.xml around `body` (the paragraphs).
std::string DocumentXml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document xmlns:w=\"x\"><w:body>" + body +
         "</w:body></w:document>";
}

// Flips the stored CRC of the archive's first entry, in both of its headers.
void SpoilChecksum(const std::string& path) {
  std::string bytes = ReadWholeFile(path);
  const size_t local = bytes.find(std::string("PK\x03\x04", 4));
  const size_t central = bytes.find(std::string("PK\x01\x02", 4));
  ASSERT_NE(local, std::string::npos);
  ASSERT_NE(central, std::string::npos);
  bytes[local + 14] = static_cast<char>(bytes[local + 14] ^ 0xFF);
  bytes[central + 16] = static_cast<char>(bytes[central + 16] ^ 0xFF);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

class DocxReaderTest : public testing::ProgramTest {
 protected:
  // The text of a document whose XML body is `body`, as the run extraction gives it.
  std::string Runs(const std::string& body) {
    std::vector<std::string> runs;
    int32_t length = 0;
    const int32_t count = ExtractDocxRuns(p, DocumentXml(body), 1, runs, length);
    std::string text;
    for (int32_t i = 0; i < count; ++i) text += runs[static_cast<size_t>(i)];
    EXPECT_EQ(static_cast<int32_t>(text.size()), length);
    return text;
  }
  // Reads `path` as the run's docx input; true on success.
  bool Read(const std::string& path) {
    p.frmMain.txbFile[0].text = path;
    bool ok = false;
    ReadDocxInput(p, ok);
    return ok;
  }
  TempDir temp;  // the system's temporary folder, for these tests
  testing::ScopedEnv tmpdir{"TMPDIR", temp.path()};
};

TEST_F(DocxReaderTest, RunsParagraphsAndBreaks) {
  // Two paragraphs: the paragraph end adds one space.
  EXPECT_EQ(Runs("<w:p><w:r><w:t>Hello</w:t></w:r></w:p><w:p><w:r><w:t>world</w:t></w:r></w:p>"),
            "Hello world");
  // The last run gets no space although a paragraph end follows it.
  EXPECT_EQ(Runs("<w:p><w:r><w:t>end</w:t></w:r></w:p>"), "end");
  // A line break adds a space; runs of one paragraph join with nothing between them.
  EXPECT_EQ(Runs("<w:p><w:r><w:t>line</w:t><w:br/><w:t>next</w:t><w:t>word</w:t></w:r></w:p>"),
            "line nextword");
  // The space-preserving start tag is dropped, its spaces kept.
  EXPECT_EQ(Runs("<w:p><w:r><w:t>a</w:t><w:t xml:space=\"preserve\"> two words "
                 "</w:t><w:t>b</w:t></w:r></w:p>"),
            "a two words b");
  // w:tab and w:tbl are not runs (but they begin like one, so a paragraph end before
  // them counts as one before more text).
  EXPECT_EQ(Runs("<w:tbl></w:tbl><w:p><w:r><w:t>left</w:t><w:tab/><w:t>right</w:t></w:r></w:p>"),
            "leftright");
  EXPECT_EQ(Runs("<w:p><w:r><w:t>cell</w:t></w:r></w:p><w:tbl></w:tbl>"), "cell ");
  // Entities in turn: "&amp;lt;" becomes "<".
  EXPECT_EQ(Runs("<w:p><w:r><w:t>salt &amp; pepper &amp;lt;x&gt;</w:t></w:r></w:p>"),
            "salt & pepper <x>");
  // A run of spaces is one space, and so is a run with no text.
  EXPECT_EQ(
      Runs("<w:p><w:r><w:t>a</w:t><w:t xml:space=\"preserve\">   </w:t><w:t>b</w:t></w:r></w:p>"),
      "a b");
  EXPECT_EQ(Runs("<w:p><w:r><w:t>a</w:t><w:t></w:t><w:t>b</w:t></w:r></w:p>"), "a b");
  // UTF-8 is fixed up run by run.
  EXPECT_EQ(Runs("<w:p><w:r><w:t>caf\xC3\xA9 \xE2\x80\x9Cok\xE2\x80\x9D</w:t></w:r></w:p>"),
            "caf\xE9 \"ok\"");
  // No text at all.
  EXPECT_EQ(Runs("<w:p><w:r><w:rPr/></w:r></w:p>"), "");
}

TEST_F(DocxReaderTest, RunsMatchTheFreshSearchesOnRandomXml) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = testing::Pieces(
      "<w:t>|<w:t xml:space=\"preserve\">|</w:t>|<w:br/>|</w:p>|<w:tab/>|<w:tbl>|<w:t|>| |a|b c|"
      "&amp;|lt;|\xC3\xA9|\xE2\x80\x94|<w:p>");
  int spaced = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string xml = reference::RandomBytes(rng, pieces, rng() % 40);
    std::vector<std::string> runs;
    int32_t length = 0;
    const int32_t count = ExtractDocxRuns(p, xml, 1, runs, length);
    ASSERT_EQ(runs, reference::DocxRuns(xml)) << xml;
    ASSERT_EQ(count, static_cast<int32_t>(runs.size()));
    for (const std::string& run : runs) spaced += run.size() > 1 && run.back() == ' ';
  }
  EXPECT_GT(spaced, 100);  // the look-ahead was exercised
}

TEST_F(DocxReaderTest, AStopWithinTenSecondsEndsAtOnceLaterItAsks) {
  std::string body;
  for (int i = 0; i < 3000; ++i)
    body += "<w:p><w:r><w:t>w" + std::to_string(i) + "</w:t></w:r></w:p>";
  host.onDoEvents = [this] { p.blnStop = true; };
  p.lngSecondsElapsed = 3;
  EXPECT_LT(Runs(body).size(), 8000u);  // stopped at the first events, without a question
  EXPECT_EQ(host.Said(), "");
  p.lngSecondsElapsed = 12;
  host.answers = {MsgResult::kNo, MsgResult::kNo, MsgResult::kNo};  // "Do you really wish to stop?"
  EXPECT_TRUE(Runs(body).ends_with("w2999"));
  EXPECT_TRUE(host.Said().starts_with(
      "Stop: Many different words have been found.\r\nDo you really wish to stop?\n"));
}

TEST_F(DocxReaderTest, TemporaryFoldersTakeTheFirstFreeNumber) {
  std::filesystem::create_directory(temp.path() + "/OXN001");
  std::filesystem::create_directory(temp.path() + "/OXN002");
  temp.Write("OXN003", "a file of that name");
  const std::string folder = CreateTempFolder("OXN", true);
  EXPECT_EQ(folder, temp.path() + "/OXN004/");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(CreateTempFolder("OXN", false), temp.path() + "/OXN005");
}

TEST_F(DocxReaderTest, ADocumentIsReadAndAChecksumMismatchAsks) {
  const std::string path = dir.path() + "/letter.docx";
  WriteZip(path, {{"word/document.xml",
                   DocumentXml("<w:p><w:r><w:t>still</w:t></w:r></w:p><w:p><w:r><w:t>here"
                               "</w:t></w:r></w:p>")}});
  EXPECT_TRUE(Read(path));
  EXPECT_EQ(p.strLine, "still here");
  EXPECT_EQ(p.frmMain.txbOutput.text, "Extracting the text of the docx file ...\r\n");
  SpoilChecksum(path);
  host.answers = {MsgResult::kNo};
  EXPECT_FALSE(Read(path));
  EXPECT_EQ(host.Said(), "Quillmoor: Invalid checksum found when processing\r\n" + path +
                             "\r\n\r\nDo you wish to scan this file anyway?\n");
  host.answers = {MsgResult::kYes};
  EXPECT_TRUE(Read(path));
  EXPECT_EQ(p.strLine, "still here");
  EXPECT_TRUE(testing::FilesIn(temp.path()).empty());
}

TEST_F(DocxReaderTest, ArchivesThatAreNoWordDocuments) {
  const std::string noXml = dir.path() + "/empty.docx";
  WriteZip(noXml, {{"word/other.xml", "<x/>"}});
  EXPECT_FALSE(Read(noXml));
  EXPECT_EQ(
      host.messages.back().prompt,
      "The file " + noXml + "\r\nis not a readable Word document: it holds no word/document.xml.");
  // The signature of a ZIP archive and nothing behind it.
  const std::string fake =
      dir.Write("fake.docx", std::string("PK\x03\x04", 4) + std::string(40, 'x'));
  EXPECT_FALSE(Read(fake));
  EXPECT_NE(host.messages.back().prompt.find(
                "is not a readable Word document: its ZIP archive cannot be opened"),
            std::string::npos)
      << host.messages.back().prompt;
  // An entry name that climbs out of the folder is never used: only the fixed name is.
  const std::string climbing = dir.path() + "/climb.docx";
  WriteZip(climbing,
           {{"../../escaped.xml", "<w:t>x</w:t>"}, {"word/document.xml", DocumentXml("")}});
  EXPECT_TRUE(Read(climbing));
  EXPECT_FALSE(
      std::filesystem::exists(std::filesystem::path(temp.path()).parent_path() / "escaped.xml"));
  EXPECT_TRUE(testing::FilesIn(temp.path()).empty());
}

TEST_F(DocxReaderTest, BigDocumentsAskAndHugeOnesAreRefused) {
  // Document XML of exactly the threshold: no question.
  const std::string shell = DocumentXml("<w:p><w:r><w:t></w:t></w:r></w:p>");
  auto xmlOfSize = [&shell](long long size) {
    const std::string open = DocumentXml("<w:p><w:r><w:t>");
    std::string xml = open + std::string(static_cast<size_t>(size) - shell.size(), 'a');
    return xml + shell.substr(open.size());
  };
  const std::string exact = dir.path() + "/exact.docx";
  WriteZip(exact, {{"word/document.xml", xmlOfSize(kBigDocxBytes)}});
  p.frmMain.txbFile[0].text = exact;
  EXPECT_EQ(UnzipDocx(p, exact, "OXN"), kBigDocxBytes);
  EXPECT_TRUE(host.messages.empty());
  DeleteTempFolder(p);
  // One byte more: asked; No is the default and says what else to do.
  const std::string big = dir.path() + "/big.docx";
  WriteZip(big, {{"word/document.xml", xmlOfSize(kBigDocxBytes + 1)}});
  host.answers = {MsgResult::kNo};
  EXPECT_FALSE(Read(big));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].defaultButton, 2);
  EXPECT_EQ(host.Prompts(), (std::vector<std::string>{
                                big + "\r\nis rather large.  It may take awhile to scan.\r\nDo you "
                                      "wish to continue?",
                                "You could try saving it as a text file\r\nand applying this "
                                "program to that file."}));
  // An entry that expands beyond 20 MB is refused, whatever its header says.
  const std::string huge = dir.path() + "/huge.docx";
  WriteZip(huge, {{"word/document.xml", xmlOfSize(kMaxDocxBytes + 4096)}});
  host.Said();
  EXPECT_FALSE(Read(huge));
  EXPECT_EQ(host.Said(), "File too big: " + huge +
                             "\r\nis too large to be scanned directly.\r\n\r\nRecommend saving "
                             "it as a text file and\r\napplying this program to that file.\n");
  EXPECT_TRUE(testing::FilesIn(temp.path()).empty());
}

}  // namespace
}  // namespace quillmoor
