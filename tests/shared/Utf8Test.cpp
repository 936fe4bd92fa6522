#include <gtest/gtest.h>

#include "shared/Utf8.h"

namespace quillmoor {
namespace {

TEST(Utf8Test, CheckingAndConverting) {
  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE9t\xE9"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
  EXPECT_EQ(TextAsUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(TextAsUtf8("caf\xE9"), "caf\xC3\xA9");  // not UTF-8: Windows-1252
  EXPECT_EQ(Utf8ToCp1252Lossy("\xC5\x93 \xCE\xB1 \xFF"), "\x9C ? ?");
  EXPECT_EQ(FirstCharOutsideCp1252("ab\xC3\xA9\xCE\xB1\xCE\xB2"), "\xCE\xB1");
  EXPECT_EQ(FirstCharOutsideCp1252("ab\xC3\xA9"), "");
  Utf8Chars chars("a\xC3\xA9\xFF");
  EXPECT_EQ(chars.Next(), "a");
  EXPECT_EQ(chars.Next(), "\xC3\xA9");
  EXPECT_EQ(chars.Next(), "\xFF");
  EXPECT_EQ(chars.Next(), "");
}

TEST(Utf8Test, LowerCaseForNamesAndCutPoints) {
  EXPECT_EQ(
      Utf8Lower("/Home/\xD0\x94\xD0\xBE\xD0\xBA/\xC3\x89T\xC3\x89/\xCE\xA3/\xC5\xA0/\xC5\xB8.TXT"),
      "/home/\xD0\xB4\xD0\xBE\xD0\xBA/\xC3\xA9t\xC3\xA9/\xCF\x83/\xC5\xA1/\xC3\xBF.txt");
  EXPECT_EQ(Utf8Lower("\xE4\xB8\xAD\xFF"), "\xE4\xB8\xAD\xFF");
  const std::string text =
      "ab\xE2\x82\xAC"
      "c";  // the euro sign takes bytes 2 to 4
  EXPECT_EQ(Utf8CutPoint(text, 2), 2u);
  EXPECT_EQ(Utf8CutPoint(text, 3), 2u);
  EXPECT_EQ(Utf8CutPoint(text, 4), 2u);
  EXPECT_EQ(Utf8CutPoint(text, 5), 5u);
  EXPECT_EQ(Utf8CutPoint(text, 99), text.size());
}

}  // namespace
}  // namespace quillmoor
