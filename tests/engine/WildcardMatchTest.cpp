#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/WildcardMatch.h"
#include "support/Reference.h"

namespace quillmoor {
namespace {

TEST(WildcardMatchTest, TheThreeWildcards) {
  EXPECT_TRUE(MatchesPattern("lover", "lov*"));
  EXPECT_FALSE(MatchesPattern("glove", "lov*"));
  EXPECT_FALSE(MatchesPattern("at", "?at"));
  EXPECT_TRUE(MatchesPattern("1984", "19##"));
  EXPECT_FALSE(MatchesPattern("19a4", "19##"));
  EXPECT_FALSE(MatchesPattern("death,", "death"));  // whole pieces only
  EXPECT_TRUE(MatchesPattern("\xE9t\xE9", "?t?"));  // one byte is one character
}

TEST(WildcardMatchTest, ManyStarsAgainstALongTextStayFast) {
  // Exponential backtracking would never finish these.
  const std::string as(200000, 'a');
  EXPECT_FALSE(MatchesPattern(as, "*a*a*a*a*a*b"));
  EXPECT_FALSE(MatchesPattern(as, "*?*?*?*?*#"));
}

TEST(WildcardMatchTest, AgreesWithTheRecursiveDefinitionOnRandomPatterns) {
  std::mt19937 rng(11);
  const std::vector<std::string> textChars = {"a", "b", "1", "2", "-"};
  const std::vector<std::string> patternChars = {"a", "b", "1", "*", "?", "#", "-"};
  for (int round = 0; round < 20000; ++round) {
    const std::string text = reference::RandomBytes(rng, textChars, rng() % 9);
    const std::string pattern = reference::RandomBytes(rng, patternChars, rng() % 7);
    ASSERT_EQ(MatchesPattern(text, pattern), reference::Like(text, pattern))
        << "text " << text << " pattern " << pattern;
  }
}

}  // namespace
}  // namespace quillmoor
