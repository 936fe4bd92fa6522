#include "analyses/Tokens.h"

#include <algorithm>

namespace quillmoor {

TokenStream::TokenStream(const ExploreSource& source) : source_(source) {
  const std::vector<WordRecord>& table = *source.words;
  const size_t numWords = static_cast<size_t>(source.numWords);
  // Every occurrence as (position, word), sorted; a hyphenated word and its first
  // part share a position, and the longer word is the token.
  std::vector<uint64_t> occurrences;
  size_t total = 0;
  for (size_t w = 1; w <= numWords; ++w) total += table[w].positions.size();
  occurrences.reserve(total);
  for (size_t w = 1; w <= numWords; ++w) {
    for (int32_t position : table[w].positions) {
      occurrences.push_back(static_cast<uint64_t>(position) << 32 | static_cast<uint32_t>(w));
    }
  }
  std::sort(occurrences.begin(), occurrences.end());
  counts_.assign(numWords + 1, 0);
  tokens_.reserve(occurrences.size());
  size_t end = 0;  // 1-based position just after the last token's word
  for (size_t i = 0; i < occurrences.size(); ++i) {
    const int32_t position = static_cast<int32_t>(occurrences[i] >> 32);
    const int32_t word = static_cast<int32_t>(occurrences[i] & 0xffffffffu);
    const size_t length = table[static_cast<size_t>(word)].strWord.size();
    if (!tokens_.empty() && tokens_.back().position == position) {
      // The same start: the longer word (the hyphenated one) is the token.
      Token& last = tokens_.back();
      if (length > table[static_cast<size_t>(last.word)].strWord.size()) {
        --counts_[static_cast<size_t>(last.word)];
        ++counts_[static_cast<size_t>(word)];
        last.word = word;
        end = static_cast<size_t>(position) + length;
      }
      continue;
    }
    if (static_cast<size_t>(position) < end) continue;  // a part inside the last token
    tokens_.push_back({word, position, 1});
    ++counts_[static_cast<size_t>(word)];
    end = static_cast<size_t>(position) + length;
  }
  // Lines: the line-break marks before each token.
  const std::string_view text = source.text;
  size_t mark = text.find(" / ");
  int32_t line = 1;
  for (Token& t : tokens_) {
    while (mark != std::string_view::npos && mark + 1 < static_cast<size_t>(t.position)) {
      ++line;
      mark = text.find(" / ", mark + 3);
    }
    t.line = line;
  }
  while (mark != std::string_view::npos) {
    ++line;
    mark = text.find(" / ", mark + 3);
  }
  lines_ = line;
}

size_t TokenStream::TokenAt(int32_t position) const {
  const auto after = std::upper_bound(tokens_.begin(), tokens_.end(), position,
                                      [](int32_t p, const Token& t) { return p < t.position; });
  return after == tokens_.begin() ? 0 : static_cast<size_t>(after - tokens_.begin() - 1);
}

std::vector<size_t> TokenStream::TokensOf(const std::vector<int32_t>& words) const {
  std::vector<size_t> out;
  for (int32_t w : words) {
    if (w < 1 || w > source_.numWords) continue;
    for (int32_t position : (*source_.words)[static_cast<size_t>(w)].positions)
      out.push_back(TokenAt(position));
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

}  // namespace quillmoor
