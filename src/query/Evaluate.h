// Where a query matches: the spans of tokens of a token stream (one document's, or a
// corpus's) that a parsed query picks.
//
// A query is prepared once against the stream's lexicon: each word pattern is matched
// against every token type's spelling (query/WordMatch.h), never token by token, giving
// a set of type ids. Finding then reads the stream, each token's type tested against
// those sets: a word is one token of its set, a phrase and a token pattern a run of
// tokens (a token pattern through a small automaton of its steps), a proximity a unit
// with another one near it. A phrase or a pattern is found from its rarest fixed token
// (the types' frequencies say which) and checked around it.
//
// Matches are found as grep finds them in a line: from each place in turn, the longest
// match there, the next one looked for after it (so one alternative's matches never
// overlap); the alternatives' matches are then merged, one match for a place (the
// longest). A match never runs across the end of a range (a document). A proximity's
// match is its first unit's (the keyword), kept where the second is near; a "head+tail"
// word's is the head, kept where a token of its line matches the tail.
//
// Contract: Prepare keeps pointers into `tokens`, which must outlive the evaluator and
// stay unchanged; Find is const and may run on several threads at once. Time: Prepare is
// linear in the lexicon, Find in the tokens of the ranges times the query's length (a
// token pattern's automaton is at most a few thousand states: the parser bounds its
// repetitions; a match spans at most kMostMatchTokens tokens).
#ifndef QUILLMOOR_QUERY_EVALUATE_H_
#define QUILLMOOR_QUERY_EVALUATE_H_

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "query/Query.h"

namespace quillmoor {

inline constexpr uint32_t kMostMatchTokens = 1000;

// The options of a search, the same wherever a query is typed.
struct QueryOptions {
  bool caseSensitive = false;  // every word's letter case as typed
  bool wholeWord = true;       // off: a word's pattern may match inside a token
  bool withinLine = false;     // phrases, proximities and patterns within one line
};

// What a query is evaluated over: the stream of token type ids, `width` bytes each (one
// to four, little-endian, as the corpus index keeps it), and the lexicon of the types.
struct QueryTokens {
  std::string_view stream;
  uint32_t width = 4;
  std::vector<std::string_view> spellings;  // by type id, engine text
  std::vector<uint64_t> frequencies;        // by type id; empty: unknown
  bool utf8 = false;                        // the spellings are UTF-8
  // Each token's line, by stream position; null: no line is known (a limit to a line
  // then holds for every match).
  const int32_t* lines = nullptr;

  uint64_t size() const { return width == 0 ? 0 : stream.size() / width; }
  uint32_t TypeAt(uint64_t at) const {
    const char* p = stream.data() + at * width;
    // (A copy of a constant size is one load.)
    switch (width) {
      case 1:
        return static_cast<uint8_t>(*p);
      case 2: {
        uint16_t id;
        std::memcpy(&id, p, 2);
        return id;
      }
      case 3: {
        uint32_t id = 0;
        std::memcpy(&id, p, 3);
        return id;
      }
      default: {
        uint32_t id;
        std::memcpy(&id, p, 4);
        return id;
      }
    }
  }
};

// Tokens [first, last) of the stream, one document's.
struct TokenRange {
  uint64_t first = 0, last = 0;
};

struct QueryMatch {
  uint64_t first = 0;   // its first token
  uint32_t length = 0;  // its tokens
  bool operator==(const QueryMatch&) const = default;
};

class QueryEvaluator {
 public:
  QueryEvaluator();
  ~QueryEvaluator();
  QueryEvaluator(const QueryEvaluator&) = delete;
  QueryEvaluator& operator=(const QueryEvaluator&) = delete;

  // Compiles `query` for `tokens`; false with *error when PCRE2 refuses an expression or
  // one runs into its limits on a spelling of the lexicon.
  bool Prepare(const Query& query, const QueryTokens& tokens, const QueryOptions& options,
               QueryError* error);
  // The matches in `ranges` (ascending and disjoint), in stream order; on two threads
  // when the ranges are many and large. A token pattern that would try too many ways
  // (`steps` steps of its automaton in all, a step a state tried on a token; 0: the
  // larger of kMostSteps and 16 a token of the ranges) is stopped: *stopped (may be
  // null) is set, and the matches are those found until then.
  std::vector<QueryMatch> Find(const std::vector<TokenRange>& ranges, bool* stopped = nullptr,
                               int64_t steps = 0) const;
  static constexpr int64_t kMostSteps = int64_t{1} << 28;
  // A token pattern has at most this many tokens, its repetitions counted.
  static constexpr size_t kMostPatternTokens = 2000;

  struct Node;
  struct Budget;

 private:
  void FindIn(const TokenRange& range, Budget* budget, std::vector<QueryMatch>* out) const;
  std::vector<std::unique_ptr<Node>> alternatives_;
  const QueryTokens* tokens_ = nullptr;
  QueryOptions options_;
};

// The query needs to know lines ("within line", the option, a "head+tail" word).
bool QueryUsesLines(const Query& query, const QueryOptions& options);

}  // namespace quillmoor

#endif  // QUILLMOOR_QUERY_EVALUATE_H_
