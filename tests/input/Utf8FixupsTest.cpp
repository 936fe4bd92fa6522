#include "input/Utf8Fixups.h"

#include <gtest/gtest.h>

#include <random>

#include "support/Reference.h"

namespace quillmoor {
namespace {

TEST(ConvertUTF8Latin1Test, MapsLatin1PairsAndDropsControls) {
  EXPECT_EQ(ConvertUTF8Latin1("caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(ConvertUTF8Latin1("a\xC2\x85" "b"), "ab");            // NEL removed
  EXPECT_EQ(ConvertUTF8Latin1("\xC4\x8D" "a\xC4\x8D"), "cac");
  // ANSI text with an A-tilde before a plain letter is left alone.
  EXPECT_EQ(ConvertUTF8Latin1("\xC3" "a \xC3" "b"), "\xC3" "a \xC3" "b");
  // The search quirk: after C2 85 is removed the search resumes one place further in
  // the shortened text, and so passes over the C2 A9 that moved there.
  EXPECT_EQ(ConvertUTF8Latin1("\xC2\x85\xC2\xA9"), "\xC2\xA9");
}

TEST(ConvertUTF8Latin1Test, MatchesTheLiteralLoopOnRandomBytes) {
  std::mt19937 rng(20261205);
  const std::vector<std::string> alphabet = {"\xC2", "\xC3", "\xC4", "\x8D", "\x80", "\x83",
                                             "\x85", "\x9F", "\xA0", "\xA9", "\xBF", "\xC0",
                                             "a",    "c",    " ",    "\xC3\xA9", "\xC2\x85"};
  for (int round = 0; round < 30000; ++round) {
    std::string text = reference::RandomBytes(rng, alphabet, rng() % 24);
    ASSERT_EQ(ConvertUTF8Latin1(text), reference::ConvertUTF8Latin1(text))
        << "round " << round;
  }
  // Mostly well-formed UTF-8, which takes the one-scan path.
  const std::vector<std::string> wellFormed = {"\xC3\xA9", "\xC2\xA9", "\xC3\x83", "a", " ",
                                               "\xC2", "\xC3", "\xC4\x8D", "\xC2\xBB"};
  for (int round = 0; round < 20000; ++round) {
    std::string text = reference::RandomBytes(rng, wellFormed, rng() % 24);
    ASSERT_EQ(ConvertUTF8Latin1(text), reference::ConvertUTF8Latin1(text))
        << "round " << round;
  }
}

TEST(ConvertUTF8PunctuationTest, ReplacesKnownPunctuationEverywhere) {
  EXPECT_EQ(ConvertUTF8Punctuation("a\xE2\x80\x94" "b\xE2\x80\x94" "c"), "a -- b -- c");
  EXPECT_EQ(ConvertUTF8Punctuation("\xE2\x80\x9C" "hi\xE2\x80\x9D \xE2\x80\x99 \xE2\x80\xA6"),
            "\"hi\" ' ...");
  // Other E2 80 sequences stay when the first one is known...
  EXPECT_EQ(ConvertUTF8Punctuation("\xE2\x80\x93\xE2\x80\xA0"), "-\xE2\x80\xA0");
  // ... but when the first one is unknown, only it is removed.
  EXPECT_EQ(ConvertUTF8Punctuation("\xE2\x80\xA0 a\xE2\x80\x94" "b"), " a\xE2\x80\x94" "b");
  EXPECT_EQ(ConvertUTF8Punctuation("end\xE2\x80"), "end");
}

TEST(ConvertUTF8PunctuationTest, MatchesTheLiteralReplaceLoopOnRandomBytes) {
  std::mt19937 rng(7);
  const std::vector<std::string> alphabet = {"\xE2", "\x80", "\x94", "\x97", "\x90", "\xA0",
                                             "\xA2", "\xBA", "\x9F", "a", "\xE2\x80",
                                             "\xE2\x80\x93"};
  for (int round = 0; round < 30000; ++round) {
    std::string text = reference::RandomBytes(rng, alphabet, rng() % 20);
    ASSERT_EQ(ConvertUTF8Punctuation(text), reference::ConvertUTF8Punctuation(text))
        << "round " << round;
  }
}

}  // namespace
}  // namespace quillmoor
