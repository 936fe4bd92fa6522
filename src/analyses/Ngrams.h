// Clusters and n-grams: the sequences of n tokens (scanner words) that recur.
//
// A sequence never holds a token `usable` says no to (a word the run does not allow),
// and, unless `acrossLines`, never spans a line-break mark. With node words, only the
// sequences that hold a node token count, each under the node's place in it: "the
// lord" with "lord" the node is counted apart from "the lord" with "the" the node.
#ifndef QUILLMOOR_ANALYSES_NGRAMS_H_
#define QUILLMOOR_ANALYSES_NGRAMS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/Tokens.h"

namespace quillmoor {

inline constexpr int kMinNgramSize = 2;
inline constexpr int kMaxNgramSize = 6;

struct NgramOptions {
  int size = 2;
  bool acrossLines = true;
  int32_t minFrequency = 1;
};

struct Ngram {
  size_t start = 0;  // the token of its first occurrence
  int size = 0;
  int place = 0;  // 1-based place of the node in it (0: no node words given)
  int32_t frequency = 0;
  int32_t firstLine = 0;  // the lines of its first and last occurrences
  int32_t lastLine = 0;
};

// The n-grams of the document (`nodes` empty: all of them; otherwise a flag per table
// word), at least minFrequency times, by frequency (highest first), ties in the order
// of their first occurrence.
std::vector<Ngram> FindNgrams(const TokenStream& tokens, const NgramOptions& options,
                              const std::vector<bool>& usable, const std::vector<bool>& nodes);
// The words of an n-gram, separated by spaces (Windows-1252, lower case).
std::string NgramText(const TokenStream& tokens, const Ngram& ngram);
// "left" for a node first, "right" for a node last, "middle" otherwise; "" without a node.
const char* NgramPlaceName(const Ngram& ngram);
// The first tokens of the occurrences of the n-gram (of its node at its place), in
// text order.
std::vector<size_t> NgramOccurrences(const TokenStream& tokens, const Ngram& ngram,
                                     const NgramOptions& options, const std::vector<bool>& usable);

}  // namespace quillmoor

#endif  // QUILLMOOR_ANALYSES_NGRAMS_H_
