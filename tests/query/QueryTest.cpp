#include <gtest/gtest.h>

#include <string>

#include "query/Query.h"

namespace quillmoor {
namespace {

// Queries read, each written back in the language's own spacing: what the tree holds.
TEST(QueryTest, TheLanguageReadsBackAsWritten) {
  static const struct {
    const char* query;
    const char* tree;
  } kCases[] = {
      // Today's keywords: alternatives, wildcards, head+tail, any character a word holds.
      {"lov*  ?at\t19##", "lov* ?at 19##"},
      {"heart+break*", "heart+break*"},
      {"o'clock rock-n-roll +x + y+", "o'clock rock-n-roll +x + y+"},
      // Regular expressions, with an escaped slash and the letter-case flag.
      {"/colou?r/ /a\\/b/c", "/colou?r/ /a\\/b/c"},
      {"/\\bx\\d+/", "/\\bx\\d+/"},
      // Phrases, over wildcards and expressions.
      {"\"in the beginning\"", "\"in the beginning\""},
      {"\" the  *  of \" word", "\"the * of\" word"},
      {"\"/colou?r/ of\"", "\"/colou?r/ of\""},
      // Proximity.
      {"heart NEAR/4 break*", "heart NEAR/4 break*"},
      {"broken FOLLOWED/3 \"my heart\" x PRECEDED/1 y",
       "broken FOLLOWED/3 \"my heart\" x PRECEDED/1 y"},
      // Token patterns.
      {"[word=\"un.*able\"] [word=\"to\"]", "[word=\"un.*able\"] [word=\"to\"]"},
      {"[ ]{1,3} [word!=\"the\" & word=\"t.*\" | word=\"a\"]+ []? []* [word=\"x\"]{2}",
       "[]{1,3} [word!=\"the\" & word=\"t.*\" | word=\"a\"]+ []? []* [word=\"x\"]{2}"},
      {"[word=\"say \\\"it\\\"\"]{2,} within line", "[word=\"say \\\"it\\\"\"]{2,} within line"},
      {"[word=\"a\"] NEAR/2 b", "[word=\"a\"] NEAR/2 b"},
  };
  for (const auto& c : kCases) {
    Query query;
    QueryError error;
    ASSERT_TRUE(ParseQuery(c.query, &query, &error))
        << c.query << ": " << QueryErrorMessage(c.query, error);
    EXPECT_EQ(QueryText(query), c.tree) << c.query;
    Query again;
    ASSERT_TRUE(ParseQuery(QueryText(query), &again, &error)) << c.query;
    EXPECT_EQ(QueryText(again), c.tree) << c.query;
  }
}

TEST(QueryTest, ABadQueryIsRefusedWhereItGoesWrong) {
  static const struct {
    const char* query;
    size_t at;
    const char* expected;
  } kCases[] = {
      {"", 0, "a word, a phrase or a token pattern"},
      {"   ", 0, "a word, a phrase or a token pattern"},
      {"\"in the beginning", 17, "a closing '\"'"},
      {"\"\"", 1, "a word inside the quotes"},
      {"\"a b\"c", 5, "a space after the phrase"},
      {"/colou?r", 8, "the '/' that ends the regular expression"},
      {"//", 1, "a regular expression between the slashes"},
      {"/a/x", 3, "the flag c (letter case as written) or nothing"},
      {"/a/.", 3, "a space after the regular expression"},
      {"heart NEAR/ break", 11, "a number"},
      {"heart NEAR/0 break", 11, "a distance of at least 1"},
      {"heart NEAR/5000 break", 11, "a smaller number"},
      {"heart NEAR/4", 12, "a word, a phrase or a token pattern after the operator"},
      {"[word=\"a\"", 9, "a closing ']'"},
      {"[lemma=\"go\"]", 1, "the attribute word (no other attribute is known)"},
      {"[=\"go\"]", 1, "a condition such as word=\"...\""},
      {"[word~\"go\"]", 5, "= or !="},
      {"[word=go]", 6, "a value in double quotes"},
      {"[word=\"go]", 10, "a closing '\"'"},
      {"[word=\"\"]", 7, "a regular expression inside the quotes"},
      {"[word=\"a\" & ]", 12, "a condition such as word=\"...\""},
      {"[]{3,2}", 5, "a number no smaller than the first"},
      {"[]{2", 4, "a closing '}'"},
      {"[]{0}", 4, "a repetition of at least one token"},
      {"[]{200}", 3, "a smaller number"},
      {"[] within sentence", 10, "line (the only unit a pattern keeps within)"},
      {"[]x", 2, "a space after the token pattern"},
      {"]", 0, "a word, a phrase or a token pattern"},
      {"a {b}", 2, "a word, a phrase or a token pattern"},
      {"[] <s>", 3, "a word, a phrase or a token pattern (tags such as <s> are not known)"},
      {"([] [])+", 0, "a word, a phrase or a token pattern (groups in parentheses are not known)"},
  };
  for (const auto& c : kCases) {
    Query query;
    QueryError error;
    ASSERT_FALSE(ParseQuery(c.query, &query, &error)) << c.query;
    EXPECT_EQ(error.at, c.at) << c.query;
    EXPECT_EQ(error.expected, c.expected) << c.query;
  }
}

TEST(QueryTest, TheMessageQuotesTheQueryAndPointsAtTheCharacter) {
  Query query;
  QueryError error;
  // The caret counts characters: "é" is two bytes and one column.
  const std::string text = "\"caf\xc3\xa9 au lait";
  ASSERT_FALSE(ParseQuery(text, &query, &error));
  EXPECT_EQ(QueryErrorMessage(text, error),
            "The query cannot be read: at character 14, a closing '\"' was expected.\n"
            "  \"caf\xc3\xa9 au lait\n"
            "               ^");
}

}  // namespace
}  // namespace quillmoor
