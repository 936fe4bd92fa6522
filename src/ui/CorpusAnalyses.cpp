#include "ui/CorpusAnalyses.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "engine/WordScanner.h"

namespace quillmoor {

std::vector<int32_t> WordsOfTokens(const CorpusIndex& index, int maxLength) {
  const auto& types = index.tokenTypes();
  std::vector<int32_t> out(types.size(), -1);
  const bool unicode = index.rules() == WordRuleSet::kUnicode;
  UnicodeWordScanner scanner(UnicodeWordOptions{false, maxLength});
  for (size_t t = 0; t < types.size(); ++t) {
    std::string word;
    if (unicode) {
      int words = 0;
      scanner.Scan(" " + std::string(types[t].spelling) + " ", [&](std::string_view w, int32_t) {
        word = w;
        return ++words < 2;
      });
      if (words != 1) continue;
    } else {
      // The scanner's run: the spelling in lower case, between spaces.
      const std::string run = " " + LowerCaseAccented(std::string(types[t].spelling)) + " ";
      int32_t lngLP = 2;
      const std::string_view w = ScanWord(run, lngLP);
      // (A part of a hyphenated word, "to" of "to-day", is a word of the table, but not
      // where it stands alone.)
      if (IsAcceptedWord(w, maxLength)) word = w;
    }
    if (!word.empty()) out[t] = static_cast<int32_t>(index.Find(word));
  }
  return out;
}

std::vector<Collocate> CorpusCollocates(const OpenCorpus& corpus, const std::vector<int32_t>& nodes,
                                        const std::vector<bool>& candidate, CollocateWindow window,
                                        int32_t minFrequency, CollocationMeasure sortBy,
                                        int maxLength) {
  const CorpusIndex& index = corpus.index;
  const std::vector<int32_t> wordOf = WordsOfTokens(index, maxLength);
  const auto wordAt = [&](uint64_t at) {
    const uint32_t id = index.TokenAt(at);
    return id == CorpusIndex::kNoToken ? -1 : wordOf[id];
  };
  const size_t numWords = index.words().size();
  std::vector<int32_t> left(numWords, 0), right(numWords, 0), total(numWords, 0);
  CollocateCounts counts;
  // N and each word's tokens: the word tokens of the subcorpus's documents.
  for (uint32_t d = 0; d < index.documents().size(); ++d) {
    if (!corpus.subcorpus->Has(d)) continue;
    const CorpusDocument& doc = index.documents()[d];
    for (uint64_t t = 0; t < doc.tokens; ++t) {
      const int32_t w = wordAt(doc.firstToken + t);
      if (w < 0) continue;
      ++counts.tokens;
      ++total[static_cast<size_t>(w)];
    }
  }
  // Each node token once (a word and its part may share it), its windows counted.
  std::vector<std::pair<uint32_t, int32_t>> nodeTokens;
  for (int32_t w : nodes) {
    for (const DocumentHits& h : index.Hits(static_cast<size_t>(w))) {
      if (!corpus.subcorpus->Has(h.document)) continue;
      for (int32_t t : h.positions) nodeTokens.emplace_back(h.document, t);
    }
  }
  std::sort(nodeTokens.begin(), nodeTokens.end());
  nodeTokens.erase(std::unique(nodeTokens.begin(), nodeTokens.end()), nodeTokens.end());
  counts.nodes = static_cast<int32_t>(nodeTokens.size());
  for (const auto& [d, token] : nodeTokens) {
    const CorpusDocument& doc = index.documents()[d];
    int found = 0;
    for (int64_t t = token - 1; t >= 0 && found < window.left; --t) {
      const int32_t w = wordAt(doc.firstToken + static_cast<uint64_t>(t));
      if (w < 0) continue;
      ++left[static_cast<size_t>(w)];
      ++found;
    }
    counts.window += found;
    found = 0;
    for (int64_t t = token + 1; t < static_cast<int64_t>(doc.tokens) && found < window.right; ++t) {
      const int32_t w = wordAt(doc.firstToken + static_cast<uint64_t>(t));
      if (w < 0) continue;
      ++right[static_cast<size_t>(w)];
      ++found;
    }
    counts.window += found;
  }
  return ScoreCollocates(left, right, total, counts, candidate, minFrequency, sortBy, 0);
}

std::vector<CorpusNgram> CorpusNgrams(const OpenCorpus& corpus, const NgramOptions& options,
                                      const std::vector<bool>& usable,
                                      const std::vector<bool>& nodes, int maxLength) {
  const CorpusIndex& index = corpus.index;
  const std::vector<int32_t> wordOf = WordsOfTokens(index, maxLength);
  const size_t size = static_cast<size_t>(options.size);
  struct Entry {
    int32_t frequency = 0;
    uint32_t range = 0, lastDocument = 0, firstDocument = 0;
    uint64_t first = 0;  // the order of its first occurrence
  };
  std::unordered_map<std::string, Entry> found;
  std::vector<int32_t> words;  // a document's word tokens (-1: not usable)
  std::string key;
  uint64_t seen = 0;
  const auto count = [&](uint32_t d, size_t start, int place) {
    key.assign(reinterpret_cast<const char*>(&words[start]), size * sizeof(int32_t));
    key.push_back(static_cast<char>(place));
    auto [at, fresh] = found.try_emplace(key);
    Entry& e = at->second;
    if (fresh) {
      e.first = seen++;
      e.firstDocument = d;
    }
    ++e.frequency;
    if (e.range == 0 || e.lastDocument != d) ++e.range;
    e.lastDocument = d;
  };
  for (uint32_t d = 0; d < index.documents().size(); ++d) {
    if (!corpus.subcorpus->Has(d)) continue;
    const CorpusDocument& doc = index.documents()[d];
    words.clear();
    for (uint64_t t = 0; t < doc.tokens; ++t) {
      const uint32_t id = index.TokenAt(doc.firstToken + t);
      const int32_t w = id == CorpusIndex::kNoToken ? -1 : wordOf[id];
      if (w < 0) continue;  // no word: passed over, as the analyses' tokens pass it
      words.push_back(
          static_cast<size_t>(w) < usable.size() && usable[static_cast<size_t>(w)] ? w : -1);
    }
    size_t run = 0;  // usable words ending at i
    for (size_t i = 0; i < words.size(); ++i) {
      run = words[i] < 0 ? 0 : run + 1;
      if (run < size) continue;
      const size_t start = i + 1 - size;
      if (nodes.empty()) {
        count(d, start, 0);
        continue;
      }
      for (size_t k = 0; k < size; ++k) {
        const auto w = static_cast<size_t>(words[start + k]);
        if (w < nodes.size() && nodes[w]) count(d, start, static_cast<int>(k + 1));
      }
    }
  }
  std::vector<std::pair<const std::string*, const Entry*>> kept;
  for (const auto& [k, e] : found) {
    if (e.frequency >= options.minFrequency) kept.emplace_back(&k, &e);
  }
  std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    if (a.second->frequency != b.second->frequency)
      return a.second->frequency > b.second->frequency;
    return a.second->first < b.second->first;
  });
  std::vector<CorpusNgram> out;
  for (const auto& [k, e] : kept) {
    CorpusNgram g;
    g.words.resize(size);
    std::memcpy(g.words.data(), k->data(), size * sizeof(int32_t));
    g.place = static_cast<unsigned char>(k->back());
    g.frequency = e->frequency;
    g.range = e->range;
    g.firstDocument = e->firstDocument;
    out.push_back(std::move(g));
  }
  return out;
}

}  // namespace quillmoor
