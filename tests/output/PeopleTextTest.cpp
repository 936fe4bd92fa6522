#include "output/PeopleText.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace quillmoor {
namespace {

TEST(PeopleTextTest, Utf8WithLfOrWindowsText) {
  const std::vector<TextPiece> pieces = {{"Input file: /d/\xD0\xB4\xC3\xA9.txt\r", false},
                                         {"\n[caf\xE9 1]\r\n... \x93q\x94\r", true},
                                         {"\nend\r\n", false}};
  // A CR LF split between two pieces is one line end all the same.
  EXPECT_EQ(EncodePeopleText(pieces, false),
            "Input file: /d/\xD0\xB4\xC3\xA9.txt\n[caf\xC3\xA9 1]\n... \xE2\x80\x9Cq\xE2\x80\x9D\nend\n");
  // Windows text: engine text byte for byte, UTF-8 in the code page ("?" where it has
  // no place).
  EXPECT_EQ(EncodePeopleText(pieces, true),
            "Input file: /d/?\xE9.txt\r\n[caf\xE9 1]\r\n... \x93q\x94\r\nend\r\n");
  EXPECT_EQ(EncodePeopleText({{"a\rb\r", true}}, false), "a\rb\r");  // a lone CR stays
}

TEST(PeopleTextTest, TheFileIsWrittenInSlicesAlike) {
  testing::TempDir dir;
  // Longer than one slice, with a CR LF across the slice boundary.
  std::string engine = std::string((1 << 20) - 1, 'x') + "\r\n\xE9";
  FileError error;
  const std::vector<TextPiece> pieces = {{"h\xC3\xA9\r\n", false}, {engine, true}};
  for (const bool windows : {false, true}) {
    ASSERT_TRUE(WritePeopleTextFile(dir.path() + "/out.txt", pieces, windows, &error, false));
    EXPECT_EQ(testing::ReadWholeFile(dir.path() + "/out.txt"), EncodePeopleText(pieces, windows));
  }
}

}  // namespace
}  // namespace quillmoor
