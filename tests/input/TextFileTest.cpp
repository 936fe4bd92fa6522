#include <gtest/gtest.h>

#include <random>

#include "input/TextFile.h"
#include "shared/KeptFiles.h"
#include "shared/NumberFormat.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"
#include "ui/InputFile.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

using testing::FaultyFileSystem;
using testing::TempDir;
using namespace std::string_literals;

int16_t Classify(const std::string& path, bool* utf8 = nullptr) {
  bool isUtf8 = false;
  int16_t code = ClassifyTextFile(path, kMaxScanBytes, isUtf8, true);
  if (utf8) *utf8 = isUtf8;
  return code;
}

TEST(ClassifyTextFileTest, LineEndingsAndMarks) {
  TempDir dir;
  bool utf8 = false;
  EXPECT_EQ(Classify(dir.Write("crlf.txt", "one\r\ntwo\r\n")), kClassWindows);
  EXPECT_EQ(Classify(dir.Write("lf.txt", "one\ntwo\n")), kClassUnix);
  EXPECT_EQ(Classify(dir.Write("cr.txt", "one\rtwo\r")), kClassMac);
  EXPECT_EQ(Classify(dir.Write("none.txt", "no line break")), kClassWindows);
  EXPECT_EQ(Classify(dir.Write("bom.txt", "\xEF\xBB\xBFone\ntwo\n"), &utf8), kClassWindows);
  EXPECT_TRUE(utf8);  // UTF-8 files never get the line-ending test
  EXPECT_EQ(Classify(dir.Write("rtf.txt", "{\\rtf1\\ansi hello}")), kClassRtf);
  EXPECT_EQ(Classify(dir.Write("le.txt", "\xFF\xFEh\0i\0"s)), kClassUnicode);
  EXPECT_EQ(Classify(dir.Write("u16.xml", "<\0?\0x\0"s)), kClassUnicode);
  EXPECT_EQ(Classify(dir.Write("plain.xml", "<?xml version=\"1.0\"?>\n<a/>\n"), &utf8),
            kClassWindows);
  EXPECT_TRUE(utf8);  // XML without a mark counts as UTF-8
  EXPECT_EQ(Classify(dir.Write("tiny.txt", "abcd")), kClassTiny);
  EXPECT_EQ(Classify(dir.Write("five.txt", "abcde")), kClassWindows);
  EXPECT_EQ(Classify(dir.Write("empty.txt", "")), kClassZeroLength);
  EXPECT_EQ(Classify(dir.path() + "/missing.txt"), kClassNotFound);
  // Only the first 16384 bytes are looked at.
  EXPECT_EQ(Classify(dir.Write("late.txt", std::string(16384, 'a') + "\r\n")), kClassWindows);
  EXPECT_EQ(Classify(dir.Write("late2.txt", std::string(16383, 'a') + "\r\n")), kClassMac);
}

TEST(ClassifyTextFileTest, CharsetDeclarationInTheFirstTenLines) {
  TempDir dir;
  bool utf8 = false;
  Classify(dir.Write("a.txt", "x\r\n\r\n<meta charset=UTF-8>\r\n"), &utf8);
  EXPECT_TRUE(utf8);
  utf8 = false;
  Classify(dir.Write("c.txt", "charset=utf-8\r\n"), &utf8);  // case-sensitive
  EXPECT_FALSE(utf8);
  std::string late;
  for (int i = 0; i < 10; ++i) late += "line\r\n\r\n";  // blank lines are not counted
  Classify(dir.Write("e.txt", late + "charset=UTF-8\r\n"), &utf8);
  EXPECT_FALSE(utf8);
  std::string tenth;
  for (int i = 0; i < 9; ++i) tenth += "line\r\n\r\n";
  Classify(dir.Write("f.txt", tenth + "charset=UTF-8\r\n"), &utf8);
  EXPECT_TRUE(utf8);
  EXPECT_EQ(GetFileExtension("/a/b.TXT", true), "txt");
  EXPECT_EQ(GetFileExtension("/a.d/b", true), "");
}

class CheckTextFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetNumberLocale({'.', ','}); }
  bool Check(const std::string& path, bool quiet = false, bool ask = false) {
    utf8 = false;
    return CheckTextFile(p, path, quiet, utf8, fileType, ask);
  }
  ScriptedHost host;
  Program p{host};
  bool utf8 = false;
  int16_t fileType = 99;
  TempDir dir;
};

TEST_F(CheckTextFileTest, RefusalsShowTheirMessage) {
  struct Case {
    std::string name, bytes, message;
  };
  const std::vector<Case> cases = {
      {"zero.txt", "", " is zero-length."},
      {"tiny.txt", "abcd", "\r\ncontains only from 1 to 4 bytes."},
      {"doc.txt", "{\\rtf1 x}", "\r\nis an RTF file."},
      {"u16.txt", std::string("\xFF\xFEx\0y\0", 6), "\r\nis a Unicode file but not UTF-8 encoded."},
  };
  for (const Case& c : cases) {
    std::string path = dir.Write(c.name, c.bytes);
    EXPECT_FALSE(Check(path)) << c.name;
    EXPECT_EQ(host.Said(), "Fatal error: File " + path + c.message + "\n");
  }
  EXPECT_FALSE(Check(dir.path() + "/gone.txt"));
  EXPECT_EQ(host.Prompts(),
            std::vector<std::string>{"File " + dir.path() + "/gone.txt not found."});
}

TEST_F(CheckTextFileTest, PermissionDeniedAndUnexpectedErrors) {
  std::string path = dir.Write("locked.txt", "some text\r\n");
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[path].openError = {kErrPermissionDenied, "Permission denied"};
  EXPECT_FALSE(Check(path));
  EXPECT_EQ(fileType, kClassNoPermission);
  EXPECT_EQ(host.Prompts(), std::vector<std::string>{"File " + path +
                                                     "\r\n cannot be opened (permission denied)."});
  // Any other error reinitializes the settings (the English stop words loaded again)
  // and says nothing more.
  ASSERT_TRUE(p.texts.LoadProgramText(host, QUILLMOOR_DATA_DIR));
  p.strProgramFolder = QUILLMOOR_DATA_DIR;
  host.Said();
  fs.faults[path].openError = {kErrDeviceIO, "Device I/O error"};
  p.frmMain.txbFile[0].text = path;
  p.frmMain.chkUTF8[0].value = 1;
  EXPECT_FALSE(Check(path));
  EXPECT_EQ(fileType, kClassUnexpectedError);
  EXPECT_EQ(host.Said(), "");
  EXPECT_EQ(p.frmMain.txbFile[0].text, "");
  EXPECT_EQ(p.frmMain.chkUTF8[0].value, 0);
  EXPECT_TRUE(p.blnStopWordsLoaded);
  EXPECT_EQ(p.frmParams.lblParameters.caption, "Program reinitialized.");
}

std::string LfFile(size_t size) {
  std::string text(size, 'a');
  for (size_t i = 79; i < size; i += 80) text[i] = '\n';
  return text;
}

TEST_F(CheckTextFileTest, EveryKindOfLineEndPassesWithoutAWord) {
  // LF files of any size (the former thresholds were 256000 and 512000 bytes) and CR
  // files are read like CR LF ones, whether the caller is quiet or asks to continue.
  for (const std::string& path :
       {dir.Write("lf.txt", LfFile(600000)), dir.Write("cr.txt", "one\rtwo\r")}) {
    EXPECT_TRUE(Check(path));
    EXPECT_TRUE(Check(path, false, true));
    EXPECT_TRUE(Check(path, true));
  }
  EXPECT_EQ(fileType, kClassMac);  // the classification itself is unchanged
  EXPECT_TRUE(host.messages.empty());
}

std::string ReadLines(const std::string& path, LineReadOptions options, int32_t* count = nullptr,
                      int32_t* error = nullptr) {
  std::string message;
  int32_t number = -1, lines = -1;
  std::string text = ReadTextFileLines(path, message, number, lines, options);
  if (count) *count = lines;
  if (error) *error = number;
  return text;
}

// The lines of files of every kind of line end, long lines and line ends that fall
// across the reads (64 KB, then twice as much each time, up to 1 MB), against a split
// a character at a time.
TEST(ForEachLineTest, LinesMatchALiteralSplitAcrossReads) {
  TempDir dir;
  std::mt19937 rng(3);
  for (int round = 0; round < 6; ++round) {
    std::string bytes;
    // Rounds 0 and 1 are small enough to be kept whole in a run (shared/KeptFiles.h).
    const size_t size = round == 0 ? 100 : round == 1 ? 150000 : (1u << 16) * (5 + rng() % 36);
    while (bytes.size() < size) {
      const size_t length = rng() % 9 == 0 ? rng() % 200000 : rng() % 80;
      bytes += std::string(length, static_cast<char>('a' + rng() % 26));
      static const char* const kEnds[] = {"\r\n", "\r", "\n", "\r\n\r\n", "\n\r"};
      bytes += kEnds[rng() % 5];
    }
    if (round % 2) bytes += "last line without an end";
    std::vector<std::string> expected;
    std::string line;
    bool pending = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' || bytes[i] == '\n') {
        expected.push_back(line);
        line.clear();
        pending = false;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      } else {
        line += bytes[i];
        pending = true;
      }
    }
    if (pending) expected.push_back(line);
    const std::string path = dir.Write("lines" + std::to_string(round), bytes);
    std::vector<std::string> viewed, copied;
    FileError error;
    ASSERT_TRUE(ForEachLineView(path, &error, [&](std::string_view l) {
      viewed.emplace_back(l);
      return true;
    }));
    ASSERT_TRUE(ForEachLine(path, &error, [&](std::string& l) {
      copied.push_back(l);
      return true;
    }));
    ASSERT_TRUE(viewed == expected)
        << "round " << round << ": " << viewed.size() << " lines, not " << expected.size();
    ASSERT_TRUE(copied == expected) << "round " << round;
    ScopedFileKeeping run;
    std::vector<std::string> kept;
    for (int pass = 0; pass < 2; ++pass) {  // the opening that keeps it, then the kept bytes
      kept.clear();
      ASSERT_TRUE(ForEachLineView(path, &error, [&](std::string_view l) {
        kept.emplace_back(l);
        return true;
      }));
      ASSERT_TRUE(kept == expected) << "round " << round << " pass " << pass;
    }
  }
}

TEST(ReadTextFileLinesTest, JoinsLinesAndSkipsBlankOnes) {
  TempDir dir;
  LineReadOptions slash;
  slash.blnSkipBlankLines = true;
  slash.blnJoinWithSlash = true;
  int32_t count = 0;
  EXPECT_EQ(ReadLines(dir.Write("a.txt", "a\r\n\r\nb\r\n"), slash, &count), "a / b");
  EXPECT_EQ(count, 2);
  // A line ends at CR LF, CR or LF.
  EXPECT_EQ(ReadLines(dir.Write("b.txt", "a\rb\nc\r\nd"), slash, &count), "a / b / c / d");
  EXPECT_EQ(count, 4);
  EXPECT_EQ(ReadLines(dir.Write("lf.txt", "a\n\nb\n"), slash),
            ReadLines(dir.path() + "/a.txt", slash));
  LineReadOptions crlf;
  EXPECT_EQ(ReadLines(dir.Write("c.txt", "\r\na\r\n\r\nb"), crlf, &count), "a\r\n\r\nb");
  EXPECT_EQ(count, 4);  // the first blank line is counted but adds no separator
  // Line ends at the edge of the reader's 1 MiB blocks: a CR LF split by it still ends
  // one line; a CR or LF just before or after it ends one too.
  const std::string longLine(1048575, 'x');
  for (const char* end : {"\r\n", "\n", "\r"}) {
    EXPECT_EQ(ReadLines(dir.Write("f.txt", longLine + end + "end"), slash, &count),
              longLine + " / end");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ReadLines(dir.Write("g.txt", longLine + "y" + end + "end"), slash, &count),
              longLine + "y / end");
    EXPECT_EQ(count, 2);
  }
}

TEST(ReadTextFileLinesTest, ReadErrorsGiveAnEmptyTextAndTheError) {
  TempDir dir;
  std::string path = dir.Write("a.txt", std::string(5000, 'a') + "\r\nb\r\n");
  FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  fs.faults[path].readOkBytes = 100;
  std::string message;
  int32_t number = 0, lines = 0;
  EXPECT_EQ(ReadTextFileLines(path, message, number, lines, LineReadOptions{}), "");
  EXPECT_EQ(number, kErrDeviceIO);
  EXPECT_EQ(message, "Device I/O error");
  EXPECT_EQ(ReadTextFileLines(dir.path() + "/none", message, number, lines, LineReadOptions{}), "");
  EXPECT_EQ(number, kErrFileNotFound);
}

}  // namespace
}  // namespace quillmoor
