#include <gtest/gtest.h>

#include <random>

#include "output/PeopleText.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "support/Reference.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

TEST(PeopleTextTest, Utf8WithLfOrWindowsText) {
  const std::vector<TextPiece> pieces = {{"Input file: /d/\xD0\xB4\xC3\xA9.txt\r", false},
                                         {"\n[caf\xE9 1]\r\n... \x93q\x94\r", true},
                                         {"\nend\r\n", false}};
  // A CR LF split between two pieces is one line end all the same.
  EXPECT_EQ(
      EncodePeopleText(pieces, false),
      "Input file: /d/\xD0\xB4\xC3\xA9.txt\n[caf\xC3\xA9 1]\n... \xE2\x80\x9Cq\xE2\x80\x9D\nend\n");
  // Windows text: engine text byte for byte, UTF-8 in the code page ("?" where it has
  // no place).
  EXPECT_EQ(EncodePeopleText(pieces, true),
            "Input file: /d/?\xE9.txt\r\n[caf\xE9 1]\r\n... \x93q\x94\r\nend\r\n");
  EXPECT_EQ(EncodePeopleText({{"a\rb\r", true}}, false), "a\rb\r");  // a lone CR stays
}

// Engine pieces as UTF-8 with LF, line by line and character by character: the
// conversion's literal reading.
std::string LiteralEngineText(const std::vector<std::string>& pieces) {
  std::string out;
  bool pendingCR = false;
  for (const std::string& text : pieces) {
    if (pendingCR) {
      pendingCR = false;
      if (!text.empty() && text[0] != '\n') out += '\r';
    }
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c == '\r') {
        if (i + 1 == text.size()) {
          pendingCR = true;
        } else if (text[i + 1] != '\n') {
          out += '\r';
        }
      } else {
        AppendUtf8(Cp1252CodePoint(c), &out);
      }
    }
  }
  if (pendingCR) out += '\r';
  return out;
}

TEST(PeopleTextTest, EngineTextAsTheLiteralConversionGivesIt) {
  std::mt19937 rng(21);
  const std::vector<std::string> alphabet = {"a",    "word ", "\r\n", "\r",       "\n",
                                             "\x93", "\xE9",  "\x81", "abcdefgh", "0123456789 / "};
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> texts;
    std::vector<TextPiece> pieces;
    for (unsigned k = 0; k < 1 + rng() % 3; ++k)
      texts.push_back(reference::RandomBytes(rng, alphabet, rng() % 60));
    for (const std::string& t : texts) pieces.push_back({t, true});
    ASSERT_EQ(EncodePeopleText(pieces, false), LiteralEngineText(texts));
  }
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
