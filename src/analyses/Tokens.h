// The document as the scanner read it: its words in text order, one token per scanner
// word, for the analyses that count words (collocate windows, n-grams, dispersion).
//
// Contract: built from a finished word table and the text its positions point into
// (read-only inputs that must outlive the object). A hyphenated word is one token; the
// parts the table also holds for it are not tokens of their own (a part's occurrence
// stands for the token that holds it). Each token knows the line it lies on: 1 + the
// line-break marks (" / ") before it.
#ifndef QUILLMOOR_ANALYSES_TOKENS_H_
#define QUILLMOOR_ANALYSES_TOKENS_H_

#include <cstdint>
#include <vector>

#include "explore/KwicRows.h"

namespace quillmoor {

struct Token {
  int32_t word = 0;      // index in the table
  int32_t position = 0;  // 1-based in the text
  int32_t line = 1;
};

class TokenStream {
 public:
  explicit TokenStream(const ExploreSource& source);

  size_t size() const { return tokens_.size(); }
  const Token& operator[](size_t i) const { return tokens_[i]; }
  const std::vector<Token>& tokens() const { return tokens_; }
  // How many tokens the word is (its occurrences as a part not counted).
  int32_t CountOf(int32_t word) const { return counts_[static_cast<size_t>(word)]; }
  // The token holding the 1-based text position (the last token starting at or before
  // it); 0 when none does.
  size_t TokenAt(int32_t position) const;
  // The tokens of the occurrences of `words` (a word's occurrences as a part, too), in
  // text order, each once.
  std::vector<size_t> TokensOf(const std::vector<int32_t>& words) const;
  // The number of lines of the document (the last token's line; 1 for none).
  int32_t Lines() const { return lines_; }
  const ExploreSource& source() const { return source_; }

 private:
  ExploreSource source_;
  std::vector<Token> tokens_;
  std::vector<int32_t> counts_;
  int32_t lines_ = 1;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_ANALYSES_TOKENS_H_
