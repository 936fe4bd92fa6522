#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "shared/Utf8.h"
#include "support/Reference.h"

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

TEST(Utf8Test, ColumnStepsAgreeWithTheCharacterByCharacterCount) {
  // The characters' starts and columns, counted one by one: the literal reference.
  const auto starts = [](const std::string& t) {
    std::vector<size_t> at;
    for (size_t i = 0; i < t.size(); ++i) {
      if (Utf8Columns(t[i]) > 0) at.push_back(i);
    }
    return at;
  };
  const std::vector<std::string> alphabet = {
      "a", " ", "\xD0\x96", "\xE2\x82\xAC", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xCC\x81"};
  std::mt19937 rng(16);
  for (int round = 0; round < 2000; ++round) {
    const std::string t = reference::RandomBytes(rng, alphabet, rng() % 90);
    const std::vector<size_t> at = starts(t);
    if (at.empty()) continue;
    const size_t from = at[rng() % at.size()];
    const auto columns = static_cast<int32_t>(rng() % 80);
    // Forward: past characters until `columns` are used, then the next start.
    size_t k = std::find(at.begin(), at.end(), from) - at.begin();
    int32_t left = columns;
    while (left > 0 && k < at.size()) left -= Utf8Columns(t[at[k++]]);
    ASSERT_EQ(Utf8Forward(t, from, columns), k < at.size() ? at[k] : t.size()) << round;
    // Back: characters before `from` until `columns` are used.
    size_t j = std::find(at.begin(), at.end(), from) - at.begin();
    left = columns;
    while (left > 0 && j > 0) left -= Utf8Columns(t[at[--j]]);
    int32_t stepped = 0;
    const size_t back = Utf8Back(t, from, columns, &stepped);
    ASSERT_EQ(back, left > 0 ? 0 : at[j]) << round;
    ASSERT_EQ(stepped, columns - std::max(left, 0)) << round;
  }
}

}  // namespace
}  // namespace quillmoor
