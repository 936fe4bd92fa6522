#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "explore/KwicRows.h"
#include "query/WordMatch.h"
#include "shared/Cp1252.h"

namespace quillmoor {
namespace {

WordMatcher MatcherOf(const std::string& query, bool utf8) {
  Query parsed;
  QueryError error;
  EXPECT_TRUE(ParseQuery(query, &parsed, &error)) << query;
  WordMatcher matcher;
  EXPECT_TRUE(matcher.Compile(parsed.alternatives.at(0).word, utf8, &error))
      << QueryErrorMessage(query, error);
  return matcher;
}

TEST(WordMatchTest, PatternsMatchWholeWords) {
  static const struct {
    const char* query;
    bool utf8;
    const char* word;
    bool matches;
  } kCases[] = {
      {"lov*", false, "lovely", true},
      {"lov*", false, "glove", false},
      {"19##", false, "1984", true},
      {"/colou?r/", false, "color", true},
      {"/colou?r/", false, "colours", false},  // the whole word, not a piece of it
      {"/colou?r/", false, "watercolor", false},
      {"/COLOU?R/", false, "colour", true},               // letter case ignored
      {"/COLOU?R/c", false, "colour", false},             // unless asked
      {"/caf./", false, "caf\xe9", true},                 // a Windows-1252 word, in UTF-8 for PCRE2
      {"/\xc3\x89t\xc3\xa9/", false, "\xe9t\xe9", true},  // "Été" matches "été"
      {"/\xc3\x89t\xc3\xa9/", true, "\xc3\xa9t\xc3\xa9", true},
      {"/\\p{Cyrillic}+/", true, "\xd1\x81\xd0\xbb\xd0\xbe\xd0\xb2\xd0\xbe", true},
      {"/\\p{Cyrillic}+/", true, "slovo", false},
      {"/a\\/b/", false, "a/b", true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MatcherOf(c.query, c.utf8).Matches(c.word), c.matches) << c.query << " " << c.word;
  }
  const WordMatcher matcher = MatcherOf("/b.*/", false);
  EXPECT_EQ(matcher.MatchAll({"abc", "bc", "b", "cb"}), (std::vector<uint32_t>{1, 2}));
}

// A lexicon large enough to be matched on two threads: the words one by one.
TEST(WordMatchTest, ALargeLexiconMatchesAsItsWordsOneByOne) {
  std::vector<std::string> words;
  for (int i = 0; i < 70000; ++i)
    words.push_back((i % 7 == 0 ? "caf\xe9" : "word") + std::to_string(i));
  const std::vector<std::string_view> views(words.begin(), words.end());
  for (const char* query : {"/caf\xc3\xa9\\d*5/", "word1*"}) {
    const WordMatcher matcher = MatcherOf(query, false);
    std::vector<uint32_t> literal;
    for (uint32_t i = 0; i < views.size(); ++i) {
      if (matcher.Matches(views[i])) literal.push_back(i);
    }
    EXPECT_GT(literal.size(), 100u) << query;
    EXPECT_EQ(matcher.MatchAll(views), literal) << query;
  }
}

// A keyword query of before, parsed as a query, picks the words the keyword search of
// the explorer picks (the same heads; "+tail" is the evaluator's business).
TEST(WordMatchTest, KeywordsSelectTheWordsTheKeywordSearchSelects) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"a", "b", "ab", "\xe9", "1", "-", "*", "?", "#"};
  for (const bool utf8 : {false, true}) {
    for (int round = 0; round < 2000; ++round) {
      std::string keyword, word;
      for (int i = std::uniform_int_distribution<int>(1, 4)(rng); i > 0; --i)
        keyword += pieces[rng() % pieces.size()];
      for (int i = std::uniform_int_distribution<int>(1, 5)(rng); i > 0; --i)
        word += pieces[rng() % 6];
      if (utf8) {
        keyword = Cp1252ToUtf8(keyword);
        word = Cp1252ToUtf8(word);
      }
      Query parsed;
      QueryError error;
      ASSERT_TRUE(ParseQuery(keyword, &parsed, &error)) << keyword;
      WordMatcher matcher;
      ASSERT_TRUE(matcher.Compile(parsed.alternatives[0].word, utf8, &error));
      EXPECT_EQ(matcher.Matches(word), ExploreQuery(keyword, utf8).SelectsWord(word))
          << keyword << " " << word << " utf8 " << utf8;
    }
  }
}

TEST(WordMatchTest, ARefusedExpressionIsPlacedInTheQuery) {
  const std::string query = "x /a\\/b(c/";
  Query parsed;
  QueryError error;
  ASSERT_TRUE(ParseQuery(query, &parsed, &error));
  WordMatcher matcher;
  ASSERT_FALSE(matcher.Compile(parsed.alternatives[1].word, false, &error));
  EXPECT_EQ(error.problem, "missing closing parenthesis");
  EXPECT_EQ(error.at, query.size() - 1);  // where the expression ends, its "(" unclosed
  EXPECT_EQ(QueryErrorMessage(query, error),
            "The query cannot be read: at character 10, the regular expression is wrong: "
            "missing closing parenthesis.\n  x /a\\/b(c/\n           ^");
}

TEST(WordMatchTest, AnExpressionThatWouldRunWithoutEndIsStopped) {
  // Nested repeats over a word that ends in a character they do not take: each way of
  // cutting the a's is tried before the match fails.
  const WordMatcher matcher = MatcherOf("/(\\w+)+/", false);
  EXPECT_FALSE(matcher.Matches(std::string(40, 'a') + "!"));
  EXPECT_TRUE(matcher.overrun());
  EXPECT_TRUE(matcher.Matches("aaa"));
  EXPECT_FALSE(MatcherOf("/(\\w+)+/", false).overrun());
}

}  // namespace
}  // namespace quillmoor
