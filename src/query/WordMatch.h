// Which words a query's word pattern matches: a wildcard pattern of the keyword search,
// or a regular expression (PCRE2, compiled once, with its JIT where the processor has
// one) matched against the whole word.
//
// Contract: a matcher is made once for a query and asked of every word of a lexicon
// (the word table's, or a corpus index's), never token by token. Words are engine text:
// Windows-1252 bytes, or UTF-8 under the Unicode rules; a regular expression is matched
// in UTF-8 either way, with Unicode's letter cases. A match that runs into PCRE2's limits
// (a pattern that backtracks without end) counts as none and is reported by overrun():
// the caller stops with a message, never hangs.
#ifndef QUILLMOOR_QUERY_WORDMATCH_H_
#define QUILLMOOR_QUERY_WORDMATCH_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "query/Query.h"

struct pcre2_real_match_data_8;  // (pcre2.h)

namespace quillmoor {

class WordMatcher {
 public:
  WordMatcher();
  ~WordMatcher();
  WordMatcher(WordMatcher&&) noexcept;
  WordMatcher& operator=(WordMatcher&&) noexcept;

  // The matcher of `pattern` for words in UTF-8 (`utf8`) or Windows-1252; false with
  // *error, placed in the query, when PCRE2 refuses the expression. Not `wholeWord`: the
  // pattern may match any part of a word.
  bool Compile(const WordPattern& pattern, bool utf8, QueryError* error, bool wholeWord = true);
  bool Matches(std::string_view word) const;
  // The numbers of the words that match, in order (a large lexicon on two threads).
  std::vector<uint32_t> MatchAll(const std::vector<std::string_view>& words) const;
  // Whether a match ran into the limits (it counted as none).
  bool overrun() const { return overrun_; }

 private:
  struct Regex;
  bool MatchesWith(std::string_view word, ::pcre2_real_match_data_8* data, std::string* scratch,
                   bool* overrun) const;
  WordPattern pattern_;
  bool utf8_ = false;
  std::unique_ptr<Regex> regex_;
  mutable bool overrun_ = false;
  mutable std::string scratch_;  // a Windows-1252 word in UTF-8
};

}  // namespace quillmoor

#endif  // QUILLMOOR_QUERY_WORDMATCH_H_
