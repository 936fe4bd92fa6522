#include <gtest/gtest.h>

#include <random>

#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

TEST(Cp1252Test, RoundTripsEveryDefinedByteThroughUtf8) {
  for (int b = 1; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    std::string utf8 = Cp1252ToUtf8(one);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1252(utf8, &back)) << b;
    EXPECT_EQ(back, one) << b;
  }
  EXPECT_EQ(Cp1252ToUtf8("\x80\xE9\x97"), "\xE2\x82\xAC\xC3\xA9\xE2\x80\x94");
  // The undefined bytes keep their own code points.
  EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  std::string out;
  EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD", &out));  // a CJK character
  EXPECT_FALSE(Utf8ToCp1252("\xC3", &out));          // cut short
}

// The appending form (ASCII runs copied whole) against the literal loop, on random
// texts of mostly ASCII.
TEST(Cp1252Test, AppendingAgreesWithTheCharacterLoop) {
  std::mt19937 random(5);
  for (int round = 0; round < 500; ++round) {
    std::string text(std::uniform_int_distribution<size_t>(0, 40)(random), ' ');
    for (char& c : text) {
      const int r = std::uniform_int_distribution<int>(0, 9)(random);
      c = static_cast<char>(r < 7 ? std::uniform_int_distribution<int>(32, 126)(random)
                                  : std::uniform_int_distribution<int>(0, 255)(random));
    }
    std::string literal = "x";
    for (char c : text) AppendUtf8(Cp1252CodePoint(static_cast<unsigned char>(c)), &literal);
    std::string appended = "x";
    AppendCp1252AsUtf8(text, &appended);
    ASSERT_EQ(appended, literal);
  }
}

TEST(Cp1252Test, VbStyleHelpers) {
  EXPECT_EQ(InStr(1, "abcabc", "c"), 3u);
  EXPECT_EQ(InStr(4, "abcabc", "c"), 6u);
  EXPECT_EQ(InStr(7, "abcabc", "c"), 0u);
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("xaay", "a", ""), "xy");
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(NumberText(-5), "-5");
  EXPECT_EQ(NumberText(12, true), " 12");
  EXPECT_EQ(AsciiLower("AbC\xC9"), "abc\xC9");
}

}  // namespace
}  // namespace quillmoor
