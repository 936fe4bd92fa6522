#include "analyses/Ngrams.h"

#include <algorithm>

#include "engine/WordRecord.h"

namespace quillmoor {
namespace {

// For each token, how many usable tokens on its line (or on any line, when sequences
// may cross lines) start there: a sequence of n starts at i when run[i] >= n.
std::vector<int32_t> UsableRuns(const TokenStream& tokens, bool acrossLines,
                                const std::vector<bool>& usable) {
  const size_t n = tokens.size();
  std::vector<int32_t> run(n + 1, 0);
  for (size_t i = n; i-- > 0;) {
    const int32_t w = tokens[i].word;
    if (static_cast<size_t>(w) >= usable.size() || !usable[static_cast<size_t>(w)]) continue;
    const bool joined = i + 1 < n && (acrossLines || tokens[i + 1].line == tokens[i].line);
    run[i] = 1 + (joined ? run[i + 1] : 0);
  }
  return run;
}

bool SameWords(const TokenStream& tokens, size_t a, size_t b, int size) {
  for (int k = 0; k < size; ++k) {
    if (tokens[a + static_cast<size_t>(k)].word != tokens[b + static_cast<size_t>(k)].word)
      return false;
  }
  return true;
}

uint64_t HashOf(const TokenStream& tokens, size_t start, int size, int place) {
  uint64_t h = 0x9e3779b97f4a7c15ull ^ static_cast<uint64_t>(place);
  for (int k = 0; k < size; ++k) {
    h ^= static_cast<uint64_t>(tokens[start + static_cast<size_t>(k)].word);
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 32;
  }
  return h;
}

}  // namespace

std::vector<Ngram> FindNgrams(const TokenStream& tokens, const NgramOptions& options,
                              const std::vector<bool>& usable, const std::vector<bool>& nodes) {
  const int size = options.size;
  const std::vector<int32_t> run = UsableRuns(tokens, options.acrossLines, usable);
  std::vector<Ngram> found;
  // Open addressing over `found`: slot = index + 1, 0 empty.
  std::vector<uint32_t> slots(1024, 0);
  std::vector<uint64_t> hashes;
  auto count = [&](size_t start, int place) {
    const uint64_t h = HashOf(tokens, start, size, place);
    size_t mask = slots.size() - 1;
    size_t s = h & mask;
    while (slots[s] != 0) {
      Ngram& g = found[slots[s] - 1];
      if (hashes[slots[s] - 1] == h && g.place == place &&
          SameWords(tokens, g.start, start, size)) {
        ++g.frequency;
        g.lastLine = tokens[start].line;
        return;
      }
      s = (s + 1) & mask;
    }
    found.push_back({start, size, place, 1, tokens[start].line, tokens[start].line});
    hashes.push_back(h);
    slots[s] = static_cast<uint32_t>(found.size());
    if (found.size() * 2 > slots.size()) {
      slots.assign(slots.size() * 2, 0);
      mask = slots.size() - 1;
      for (size_t i = 0; i < found.size(); ++i) {
        size_t t = hashes[i] & mask;
        while (slots[t] != 0) t = (t + 1) & mask;
        slots[t] = static_cast<uint32_t>(i + 1);
      }
    }
  };
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (run[i] < size) continue;
    if (nodes.empty()) {
      count(i, 0);
      continue;
    }
    for (int k = 0; k < size; ++k) {
      const size_t w = static_cast<size_t>(tokens[i + static_cast<size_t>(k)].word);
      if (w < nodes.size() && nodes[w]) count(i, k + 1);
    }
  }
  std::vector<Ngram> out;
  for (const Ngram& g : found) {
    if (g.frequency >= options.minFrequency) out.push_back(g);
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const Ngram& a, const Ngram& b) { return a.frequency > b.frequency; });
  return out;
}

std::string NgramText(const TokenStream& tokens, const Ngram& ngram) {
  std::string text;
  for (int k = 0; k < ngram.size; ++k) {
    if (k > 0) text += ' ';
    text += (*tokens.source()
                  .words)[static_cast<size_t>(tokens[ngram.start + static_cast<size_t>(k)].word)]
                .strWord;
  }
  return text;
}

const char* NgramPlaceName(const Ngram& ngram) {
  if (ngram.place == 0) return "";
  if (ngram.place == 1) return "left";
  return ngram.place == ngram.size ? "right" : "middle";
}

std::vector<size_t> NgramOccurrences(const TokenStream& tokens, const Ngram& ngram,
                                     const NgramOptions& options, const std::vector<bool>& usable) {
  const std::vector<int32_t> run = UsableRuns(tokens, options.acrossLines, usable);
  std::vector<size_t> out;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (run[i] >= ngram.size && SameWords(tokens, ngram.start, i, ngram.size)) out.push_back(i);
  }
  return out;
}

}  // namespace quillmoor
