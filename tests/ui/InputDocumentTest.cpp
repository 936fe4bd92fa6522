#include <gtest/gtest.h>

#include "shared/NumberFormat.h"
#include "support/TestProgram.h"
#include "support/Text.h"
#include "ui/InputDocument.h"
#include "ui/InputFile.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

using testing::FaultyFileSystem;
using testing::TempDir;

class InputDocumentTest : public testing::ProgramTest {
 protected:
  bool Read(const std::string& path, bool checkedUtf8 = false) {
    p.frmMain.txbFile[0].text = path;
    p.frmMain.chkUTF8[0].value = checkedUtf8 ? 1 : 0;
    bool utf8 = false, ok = false;
    ReadInputDocument(p, utf8, ok);
    return ok;
  }
};

TEST_F(InputDocumentTest, TextFileLinesBecomeSlashesAndStatusLinesAppear) {
  ASSERT_TRUE(Read(dir.Write("a.txt", "First line.\r\n\r\nSecond\tline.\r\n")));
  EXPECT_EQ(p.strLine, "First line. / Second\tline.");
  EXPECT_EQ(p.frmMain.txbOutput.text, "Reading the input file ...\r\nConverting UTF-8 ...\r\n");
  EXPECT_EQ(p.frmMain.cmdListWords.caption, "Stop");  // the read can be stopped
}

TEST_F(InputDocumentTest, HtmlIsJoinedWithSpacesAndStripped) {
  ASSERT_TRUE(Read(dir.Write(
      "page.html", "<html>\r\n<body>\r\n<p>Caf\xC3\xA9 &amp; tea</p>\r\n</body></html>\r\n")));
  // Each tag leaves a space, each line break another.
  EXPECT_EQ(p.strLine, "     Caf\xE9 &amp; tea    ");
  EXPECT_NE(p.frmMain.txbOutput.text.find("File read successfully.  Now removing tags ...\r\n"),
            std::string::npos);
}

TEST_F(InputDocumentTest, Utf8Question) {
  std::string utf8File = dir.Write("u.txt", "\xEF\xBB\xBFna\xC3\xAFve \xE2\x80\x94 ok\r\n");
  // Box unchecked, file UTF-8: asked; Yes checks the box.
  ASSERT_TRUE(Read(utf8File));
  EXPECT_EQ(host.Said(),
            "UTF-8 or ANSI file?: This file seems to be UTF-8 encoded.\r\n"
            "Click 'Yes' to scan it as UTF-8 encoded or 'No' to scan it as ANSI.\n");
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 1);
  EXPECT_EQ(p.strLine, "na\xEFve  --  ok");  // the byte order mark goes
  // Cancel ends the read with the output box cleared.
  host.answers = {MsgResult::kCancel};
  EXPECT_FALSE(Read(utf8File));
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  // Box checked, file not UTF-8: asked the other way; No unchecks the box.
  host.answers = {MsgResult::kNo};
  ASSERT_TRUE(Read(dir.Write("ansi.txt", "plain text\r\n"), true));
  EXPECT_TRUE(
      host.messages.back().prompt.starts_with("This file does not seem to be UTF-8 encoded.\r\n"));
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 0);
}

TEST_F(InputDocumentTest, CharactersOutsideTheCodePageChooseTheUnicodeRulesOrAreToldOnce) {
  // An English text with a Greek word and an emoji (UTF-8 without a mark, LF line ends).
  const std::string text =
      "The word \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 means word "
      "\xF0\x9F\x98\x80\nc\xC5\x93ur 5 \xE2\x82\xAC\n";
  // Left to choose, the program reads it under the Unicode rules: every character kept.
  ASSERT_TRUE(Read(dir.Write("g.txt", text)));
  EXPECT_EQ(p.textRules, WordRuleSet::kUnicode);
  EXPECT_EQ(p.strLine,
            "The word \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 means word \xF0\x9F\x98\x80 / "
            "c\xC5\x93ur 5 \xE2\x82\xAC");
  EXPECT_EQ(host.Said(), "");
  // Asked for the Windows-1252 rules, it reads "?" for each and says so once.
  p.frmParams.strWordRules = "windows-1252";
  ASSERT_TRUE(Read(dir.Write("g.txt", text)));
  EXPECT_EQ(p.textRules, WordRuleSet::kWindows1252);
  EXPECT_EQ(p.strLine, "The word ????? means word ? / c\x9Cur 5 \x80");
  EXPECT_EQ(
      host.Said(),
      "Characters outside Windows-1252: 6 characters of this document are not in the "
      "Windows-1252 character set that words are made of, such as: \xCE\xBB \xCF\x8C \xCE\xB3 "
      "\xCE\xBF \xCF\x82\r\n\r\nEach was read as \"?\", which is not part of any word.\n");
  // A text the code page holds says nothing.
  ASSERT_TRUE(Read(dir.Write("f.txt", "c\xC5\x93ur\n")));
  EXPECT_EQ(host.Said(), "");
}

TEST_F(InputDocumentTest, RefusedAndUnreadableFilesNeverReachTheText) {
  p.strLine = "old";
  EXPECT_FALSE(Read(dir.Write("r.txt", "{\\rtf1 hello}")));
  EXPECT_EQ(p.strLine, "old");
  std::string path = dir.Write("b.txt", std::string(30000, 'w') + "\r\n");
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[path].readOkBytes = 20000;  // the check's 16384 bytes still read
  EXPECT_FALSE(Read(path));
  EXPECT_TRUE(host.Said().ends_with("Read error: Device I/O error\r\nwhen reading input file.\n"));
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
}

TEST_F(InputDocumentTest, DocxFilesAreRecognisedByExtensionAndSignature) {
  std::string zip = dir.Write("d.docx", std::string("PK\x03\x04", 4) + std::string(20, '\0'));
  EXPECT_TRUE(IsDocxFile(zip));
  EXPECT_EQ(IsZipFile(dir.Write("short.docx", "PK\x03\x04xx")), 0);
  EXPECT_FALSE(IsDocxFile(dir.Write("text.docx", "just some text here\r\n")));
  EXPECT_FALSE(Read(zip));  // a ZIP signature with nothing behind it
  EXPECT_TRUE(p.blnDocxInput);
}

TEST_F(InputDocumentTest, CheckInputFileSetsTheSizeLabel) {
  std::string path = dir.Write("a.txt", std::string(2048, 'a'));
  EXPECT_TRUE(CheckInputFile(p, path));
  EXPECT_EQ(p.frmMain.lblInputFilesize.caption, "Input filesize: 2.00 Kb");
  EXPECT_EQ(p.strCurrentFolder, dir.path());
  EXPECT_FALSE(CheckInputFile(p, dir.Write("z.txt", "")));
  EXPECT_EQ(p.frmMain.lblInputFilesize.caption, "Input filesize: 0 bytes");
  EXPECT_TRUE(host.Said().starts_with("Empty file: "));
  p.frmMain.chkUTF8[0].value = 1;
  EXPECT_FALSE(CheckInputFile(p, dir.path() + "/missing.txt"));
  EXPECT_EQ(host.Said(), "File not found: Input file does not exist.\n");
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 0);
  // During start-up a missing file is passed over in silence.
  p.blnStartUpCompleted = false;
  EXPECT_FALSE(CheckInputFile(p, dir.path() + "/missing.txt"));
  EXPECT_EQ(host.Said(), "");
}

TEST_F(InputDocumentTest, FilesOver2GbAreRefused) {
  std::string path = dir.Write("huge.txt", "pretend this is huge\r\n");
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[path].length = 2147483648LL;
  EXPECT_FALSE(CheckInputFile(p, path));
  EXPECT_EQ(host.Said(), "File too large: File " + path +
                             "\r\nis larger than 2 Gb (2,048.00 Mb) and cannot be processed.\n");
  fs.faults[path].length = 2147483647LL;
  EXPECT_TRUE(CheckInputFile(p, path));
}

TEST_F(InputDocumentTest, TextsThatGrowPastTheScansLimitAreRefused) {
  p.lngMaxDocumentChars = 11;
  EXPECT_TRUE(Read(dir.Write("short.txt", "ab\ncd\n")));  // "ab / cd"
  for (const char* name : {"lines.txt", "lines.html"}) {
    EXPECT_FALSE(Read(dir.Write(name, "one\ntwo\nthree\n"))) << name;
    const std::string said = host.Said();
    EXPECT_TRUE(said.starts_with("File too large: ")) << said;
    EXPECT_TRUE(testing::Has(said, "more than the 11 that can be scanned.")) << said;
    EXPECT_TRUE(p.strLine.empty());
  }
}

TEST(OwnOutputFilesTest, AreRecognisedByName) {
  EXPECT_TRUE(IsIndexFileName("/t/report.txt.oxn.ndx"));
  EXPECT_TRUE(IsIndexFileName("/t/REPORT.OXN.NDX"));
  EXPECT_FALSE(IsIndexFileName("/t/report.ndx"));
  EXPECT_TRUE(IsConcordanceFileName("/t/a.txt.oxn.con_a5.txt"));
  EXPECT_FALSE(IsConcordanceFileName("/t/a.txt.oxn.con_a5.doc"));
  EXPECT_FALSE(IsConcordanceFileName("/t/a.txt.oxn.con_a.txt"));
}

TEST_F(InputDocumentTest, ChoosingTheInputFileInTheDialog) {
  auto choose = [this](const std::string& name) {
    host.fileNames = {name};
    SelectFile(p, 0);
    const std::vector<std::string> prompts = host.Prompts();
    host.Said();
    return prompts.empty() ? std::string() : prompts[0];
  };
  EXPECT_EQ(choose(dir.Write("r.txt.oxn.ndx", "index")), "This is an OXN index file.");
  EXPECT_EQ(p.frmMain.txbFile[0].text, "");
  EXPECT_EQ(host.dialogs.back().title, "Specify input file");
  EXPECT_EQ(host.dialogs.back().filter, kInputFileFilter);
  EXPECT_EQ(host.dialogs.back().flags, 0x1800u);
  EXPECT_EQ(choose(dir.Write("a.txt.oxn.con_a5.txt", "concordance")),
            "This is an OXN concordance file.");
  EXPECT_EQ(
      choose(dir.Write("page.html", "<p>hello there</p>\r\n")),
      "Support for HTML and XML files will be provided\r\nin a later version of this program.");
  const std::string fake = dir.Write("x.docx", "just some text, not a zip\r\n");
  EXPECT_EQ(choose(fake),
            "The file " + fake +
                "\r\nhas a 'docx' extension but does not appear to be an MS Word 'docx' file.");
  EXPECT_NE(choose(dir.Write("tiny.docx", "PK\x03\x04")).find("does not appear"),
            std::string::npos);
  // A UTF-8 file with a byte-order mark checks the UTF-8 box; the output box is left empty.
  const std::string utf8 = dir.Write("u.txt", "\xEF\xBB\xBFhello world\r\n");
  EXPECT_EQ(choose(utf8), "");
  EXPECT_EQ(p.frmMain.txbFile[0].text, utf8);
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 1);
  EXPECT_EQ(p.frmMain.txbOutput.text, "");
  // Cancelling changes nothing.
  host.fileNames.clear();
  SelectFile(p, 0);
  EXPECT_EQ(p.frmMain.txbFile[0].text, utf8);
  // The keywords box keeps its path.
  host.fileNames = {dir.path() + "/keys.txt"};
  SelectFile(p, 2);
  EXPECT_EQ(p.strKeywordsFile, dir.path() + "/keys.txt");
  EXPECT_EQ(host.dialogs.back().title, "Specify keywords file");
  EXPECT_EQ(host.dialogs.back().flags, 0x4u);
}

TEST_F(InputDocumentTest, TypedInputNameIsCheckedAndUtf8Detected) {
  std::string path = dir.Write("u.txt", "\xEF\xBB\xBFhello\r\n");
  p.frmMain.txbFile[0].text = "  " + path + "  ";
  p.blnWordsGot = true;
  EXPECT_TRUE(InputFileLostFocus(p, 0));
  EXPECT_EQ(p.frmMain.txbFile[0].text, path);
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 1);
  EXPECT_FALSE(p.blnWordsGot);
  // A long name becomes the tool tip of the box's button.
  std::string longName = dir.Write(std::string(80, 'n') + ".txt", "hello world\r\n");
  p.frmMain.txbFile[0].text = longName;
  EXPECT_TRUE(InputFileLostFocus(p, 0));
  EXPECT_EQ(p.frmMain.cmdFile[0].toolTip, longName);
}

}  // namespace
}  // namespace quillmoor
