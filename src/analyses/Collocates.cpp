#include "analyses/Collocates.h"

#include <algorithm>
#include <cmath>

namespace quillmoor {

bool ParseMeasure(std::string_view text, CollocationMeasure* measure) {
  std::string t(text);
  for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (t == "logdice")
    *measure = CollocationMeasure::kLogDice;
  else if (t == "mi")
    *measure = CollocationMeasure::kMi;
  else if (t == "t")
    *measure = CollocationMeasure::kT;
  else if (t == "ll")
    *measure = CollocationMeasure::kLl;
  else
    return false;
  return true;
}

const char* MeasureName(CollocationMeasure measure) {
  switch (measure) {
    case CollocationMeasure::kLogDice:
      return "logdice";
    case CollocationMeasure::kMi:
      return "mi";
    case CollocationMeasure::kT:
      return "t";
    case CollocationMeasure::kLl:
      return "ll";
  }
  return "logdice";
}

namespace {

// "5L" -> 5 on the left. False when not a side's span.
bool ParseSide(std::string_view part, CollocateWindow* window, bool* left, bool* right) {
  if (part.size() < 2 || part.size() > 3) return false;
  const char side = static_cast<char>(std::toupper(static_cast<unsigned char>(part.back())));
  int n = 0;
  for (char c : part.substr(0, part.size() - 1)) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n > kMaxCollocateSpan) return false;
  if (side == 'L' && !*left) {
    window->left = n;
    *left = true;
  } else if (side == 'R' && !*right) {
    window->right = n;
    *right = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ParseCollocateWindow(std::string_view text, CollocateWindow* window) {
  CollocateWindow w{0, 0};
  bool left = false, right = false;
  const size_t comma = text.find(',');
  if (!ParseSide(text.substr(0, comma), &w, &left, &right)) return false;
  if (comma != std::string_view::npos && !ParseSide(text.substr(comma + 1), &w, &left, &right))
    return false;
  if (w.left + w.right == 0) return false;
  *window = w;
  return true;
}

std::string CollocateWindowName(const CollocateWindow& window) {
  return std::to_string(window.left) + "L," + std::to_string(window.right) + "R";
}

double Collocate::Measure(CollocationMeasure m) const {
  switch (m) {
    case CollocationMeasure::kLogDice:
      return logDice;
    case CollocationMeasure::kMi:
      return mi;
    case CollocationMeasure::kT:
      return t;
    case CollocationMeasure::kLl:
      return ll;
  }
  return logDice;
}

void ScoreCollocate(const CollocateCounts& counts, Collocate* c) {
  const double n = static_cast<double>(counts.tokens);
  const double o = c->frequency, w = static_cast<double>(counts.window), fc = c->total;
  const double e = w * fc / n;
  c->mi = std::log2(o / e);
  c->t = (o - e) / std::sqrt(o);
  c->logDice = 14 + std::log2(2 * o / (counts.nodes + fc));
  const double observed[4] = {o, w - o, fc - o, n - w - fc + o};
  const double expected[4] = {w * fc / n, w * (n - fc) / n, (n - w) * fc / n,
                              (n - w) * (n - fc) / n};
  double ll = 0;
  for (int i = 0; i < 4; ++i) {
    if (observed[i] > 0 && expected[i] > 0) ll += observed[i] * std::log(observed[i] / expected[i]);
  }
  c->ll = 2 * ll;
}

std::vector<Collocate> FindCollocates(const TokenStream& tokens, const std::vector<size_t>& nodes,
                                      const std::vector<bool>& candidate, CollocateWindow window,
                                      int32_t minFrequency, CollocationMeasure sortBy,
                                      CollocateCounts* counts) {
  std::vector<NodeSpan> spans;
  spans.reserve(nodes.size());
  for (size_t node : nodes) spans.push_back({node, node + 1});
  return FindCollocatesAround(tokens, spans, candidate, window, minFrequency, sortBy, counts);
}

std::vector<Collocate> FindCollocatesAround(const TokenStream& tokens,
                                            const std::vector<NodeSpan>& nodes,
                                            const std::vector<bool>& candidate,
                                            CollocateWindow window, int32_t minFrequency,
                                            CollocationMeasure sortBy, CollocateCounts* counts) {
  const size_t numWords = static_cast<size_t>(tokens.source().numWords) + 1;
  std::vector<int32_t> left(numWords, 0), right(numWords, 0);
  CollocateCounts totals;
  totals.tokens = static_cast<int64_t>(tokens.size());
  totals.nodes = static_cast<int32_t>(nodes.size());
  const size_t n = tokens.size();
  for (const NodeSpan& node : nodes) {
    const size_t begin = std::min(node.begin, n), end = std::min(std::max(node.end, begin), n);
    const size_t first =
        begin >= static_cast<size_t>(window.left) ? begin - static_cast<size_t>(window.left) : 0;
    const size_t last = std::min(n, end + static_cast<size_t>(window.right));  // (one past)
    for (size_t i = first; i < begin; ++i) ++left[static_cast<size_t>(tokens[i].word)];
    for (size_t i = end; i < last; ++i) ++right[static_cast<size_t>(tokens[i].word)];
    totals.window += static_cast<int64_t>((begin - first) + (last - end));
  }
  std::vector<int32_t> total(numWords, 0);
  for (size_t w = 1; w < numWords; ++w) total[w] = tokens.CountOf(static_cast<int32_t>(w));
  if (counts != nullptr) *counts = totals;
  return ScoreCollocates(left, right, total, totals, candidate, minFrequency, sortBy, 1);
}

std::vector<Collocate> ScoreCollocates(const std::vector<int32_t>& left,
                                       const std::vector<int32_t>& right,
                                       const std::vector<int32_t>& total,
                                       const CollocateCounts& counts,
                                       const std::vector<bool>& candidate, int32_t minFrequency,
                                       CollocationMeasure sortBy, size_t first) {
  std::vector<Collocate> out;
  for (size_t w = first; w < left.size(); ++w) {
    const int32_t o = left[w] + right[w];
    if (o == 0 || o < minFrequency || w >= candidate.size() || !candidate[w]) continue;
    Collocate c;
    c.word = static_cast<int32_t>(w);
    c.frequency = o;
    c.left = left[w];
    c.right = right[w];
    c.total = total[w];
    ScoreCollocate(counts, &c);
    out.push_back(c);
  }
  std::stable_sort(out.begin(), out.end(), [sortBy](const Collocate& a, const Collocate& b) {
    const double ma = a.Measure(sortBy), mb = b.Measure(sortBy);
    if (ma != mb) return ma > mb;
    return a.frequency > b.frequency;
  });
  return out;
}

std::vector<size_t> NodesWithCollocate(const TokenStream& tokens, const std::vector<size_t>& nodes,
                                       int32_t word, CollocateWindow window) {
  std::vector<size_t> out;
  const size_t n = tokens.size();
  for (size_t node : nodes) {
    const size_t first =
        node >= static_cast<size_t>(window.left) ? node - static_cast<size_t>(window.left) : 0;
    const size_t last = std::min(n - 1, node + static_cast<size_t>(window.right));
    for (size_t i = first; i <= last; ++i) {
      if (i != node && tokens[i].word == word) {
        out.push_back(node);
        break;
      }
    }
  }
  return out;
}

}  // namespace quillmoor
