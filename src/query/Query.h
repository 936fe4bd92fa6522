// The query language of the searches: what a user types where a keyword goes, parsed
// into a small tree (doc/query-language.md gives the grammar).
//
// A query is one or more alternatives separated by spaces, as the keyword box always
// took them; a text matches the query where it matches any of them. An alternative is
//  - a word: a wildcard pattern of the keyword search ("lov*", "?at", "19##", with its
//    "head+tail" form), or a regular expression between slashes ("/colou?r/", PCRE2
//    syntax, matched against whole words; "/.../c" matches letter case as written);
//  - a phrase: word patterns in sequence between double quotes ("in the * of"), over
//    every word of the text, the short words and stop words included;
//  - a proximity: two of these joined by NEAR/n (either side), FOLLOWED/n (the second
//    after the first) or PRECEDED/n (the second before the first), n words at most;
//  - a token pattern of the CQP family: bracketed tokens in sequence, each [] (any
//    token) or [word="re"] / [word!="re"] (conditions joined by & and |), each with
//    ?, *, +, {n}, {n,} or {n,m}, the sequence ended by "within line" if asked.
//
// Contract: ParseQuery accepts exactly this language; anything else is refused with
// the place in the query (a 0-based byte offset) and what was expected there. Parsing
// takes time linear in the query and recursion bounded by the query's nesting, which
// the language keeps at two levels.
#ifndef QUILLMOOR_QUERY_QUERY_H_
#define QUILLMOOR_QUERY_QUERY_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

// One word of a query.
struct WordPattern {
  enum class Kind { kWildcard, kRegex };
  Kind kind = Kind::kWildcard;
  std::string text;            // the wildcard pattern (without a tail), or the regular expression
  bool coWord = false;         // a wildcard pattern in the "head+tail" form
  std::string tail;            // then the part after its first "+" (perhaps empty)
  bool caseSensitive = false;  // a regular expression's "c" flag
  size_t at = 0;               // where it begins in the query
};

// A condition on a token: its word matches (or, negated, does not match) `regex`.
struct TokenCondition {
  bool negated = false;
  std::string regex;
  size_t at = 0;
};

// One bracketed token of a pattern, repeated from `least` to `most` times (-1: any
// number). Its test: any of `alternatives`, each met when all its conditions are; no
// alternatives: any token.
struct TokenStep {
  std::vector<std::vector<TokenCondition>> alternatives;
  int least = 1, most = 1;
  size_t at = 0;
};

struct QueryNode {
  enum class Kind { kWord, kPhrase, kTokens, kNear };
  enum class Side { kEither, kAfter, kBefore };
  Kind kind = Kind::kWord;
  size_t at = 0;
  WordPattern word;                 // kWord
  std::vector<WordPattern> phrase;  // kPhrase
  std::vector<TokenStep> tokens;    // kTokens
  bool withinLine = false;          // kTokens: "within line"
  // kNear: `first` and `second` within `distance` words, `second` on `side` of `first`.
  std::unique_ptr<QueryNode> first, second;
  int distance = 0;
  Side side = Side::kEither;
};

struct Query {
  std::vector<QueryNode> alternatives;
};

struct QueryError {
  size_t at = 0;         // the byte of the query where it goes wrong
  std::string expected;  // what was expected there, as a phrase ("a closing '\"'"),
  std::string problem;   // or else what is wrong there ("missing closing parenthesis")
  bool overrun = false;  // or else the expression there ran into PCRE2's limits on a word
};

// Parses `text`; false with *error.
bool ParseQuery(std::string_view text, Query* query, QueryError* error);

// The message for a refused query: the place, what was expected, then the query and a
// caret under the place, on lines of their own.
std::string QueryErrorMessage(std::string_view text, const QueryError& error);

// True when `text` uses more of the language than the keyword box's keywords (a phrase,
// a regular expression, a proximity or a token pattern): a query without them is read
// as the keywords always were, with their checks and messages.
bool UsesQueryLanguage(std::string_view text);

// The query written back in its own syntax, spaced evenly (for tests and the history).
std::string QueryText(const Query& query);

}  // namespace quillmoor

#endif  // QUILLMOOR_QUERY_QUERY_H_
