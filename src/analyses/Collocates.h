// Collocates: the words found near the occurrences of some node words, ranked by how
// much more often they are found there than chance would have it.
//
// The window counts tokens (scanner words) on each side of a node occurrence and stops
// at the document's start and end. With N the tokens of the document, f(n) the node's
// occurrences, f(c) the collocate's, O the collocate's occurrences in the windows and
// W the tokens all the windows hold (a token in two windows counted twice), the
// expected count is E = W * f(c) / N and
//   MI        log2(O / E)
//   t-score   (O - E) / sqrt(O)
//   ll        2 * sum O_ij * ln(O_ij / E_ij) over the two-by-two table of in window /
//             elsewhere by collocate / other word (O11 = O, O12 = W - O,
//             O21 = f(c) - O, O22 = N - W - f(c) + O; E_ij = row total * column
//             total / N; cells of 0 or less add nothing)
//   logDice   14 + log2(2 * O / (f(n) + f(c)))
// doc/analyses.md works an example through.
#ifndef QUILLMOOR_ANALYSES_COLLOCATES_H_
#define QUILLMOOR_ANALYSES_COLLOCATES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/Tokens.h"

namespace quillmoor {

enum class CollocationMeasure { kLogDice, kMi, kT, kLl };

// "logdice", "mi", "t", "ll" (any letter case). False when not one.
bool ParseMeasure(std::string_view text, CollocationMeasure* measure);
const char* MeasureName(CollocationMeasure measure);

struct CollocateWindow {
  int left = 5;
  int right = 5;
  bool operator==(const CollocateWindow&) const = default;
};
inline constexpr int kMaxCollocateSpan = 20;
// "5L,5R", "3L,0R", "4R", "2L" (0 to 20 each side, at least one word in all). False
// when not so.
bool ParseCollocateWindow(std::string_view text, CollocateWindow* window);
std::string CollocateWindowName(const CollocateWindow& window);

struct Collocate {
  int32_t word = 0;       // index in the table
  int32_t frequency = 0;  // O: in the windows
  int32_t left = 0;       // of them, to the left of the node
  int32_t right = 0;
  int32_t total = 0;  // f(c): the collocate's tokens in the document
  double mi = 0, t = 0, ll = 0, logDice = 0;
  double Measure(CollocationMeasure m) const;
};

struct CollocateCounts {
  int32_t nodes = 0;   // f(n): the node occurrences
  int64_t window = 0;  // W: the tokens in all the windows
  int64_t tokens = 0;  // N
};

// The measures of one collocate from its counts (fills mi, t, ll, logDice).
void ScoreCollocate(const CollocateCounts& counts, Collocate* c);

// The collocates of the node tokens `nodes` (TokensOf the node words): every word
// `candidate` says yes to (by table index) found O >= minFrequency times in the
// windows, sorted by `sortBy` (highest first; ties by O, then the table's order).
// *counts (may be null) gets the totals.
std::vector<Collocate> FindCollocates(const TokenStream& tokens, const std::vector<size_t>& nodes,
                                      const std::vector<bool>& candidate, CollocateWindow window,
                                      int32_t minFrequency, CollocationMeasure sortBy,
                                      CollocateCounts* counts = nullptr);

// A node of several tokens (a phrase's match): tokens [begin, end) of the stream, the
// windows counted from its ends. (Empty when the match holds no token of the stream:
// the windows then meet at `begin`.)
struct NodeSpan {
  size_t begin = 0, end = 0;
};
// The same as FindCollocates for such nodes (in text order).
std::vector<Collocate> FindCollocatesAround(const TokenStream& tokens,
                                            const std::vector<NodeSpan>& nodes,
                                            const std::vector<bool>& candidate,
                                            CollocateWindow window, int32_t minFrequency,
                                            CollocationMeasure sortBy,
                                            CollocateCounts* counts = nullptr);

// The node tokens that have `word` in their window, in text order.
// The collocates of words [first, left.size()) from their counts in the windows (left
// and right of the nodes) and in all (`total`), scored and sorted as FindCollocates
// scores and sorts them.
std::vector<Collocate> ScoreCollocates(const std::vector<int32_t>& left,
                                       const std::vector<int32_t>& right,
                                       const std::vector<int32_t>& total,
                                       const CollocateCounts& counts,
                                       const std::vector<bool>& candidate, int32_t minFrequency,
                                       CollocationMeasure sortBy, size_t first);

std::vector<size_t> NodesWithCollocate(const TokenStream& tokens, const std::vector<size_t>& nodes,
                                       int32_t word, CollocateWindow window);

}  // namespace quillmoor

#endif  // QUILLMOOR_ANALYSES_COLLOCATES_H_
