#include "ui/CorpusAnalyses.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <unordered_map>

#include "analyses/Dispersion.h"
#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "engine/WordScanner.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "ui/Program.h"
#include "ui/Snapshot.h"

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
                                        int maxLength, const CorpusLines* lines) {
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
  std::vector<std::tuple<uint32_t, int32_t, int32_t>> nodeTokens;  // (document, first, last)
  if (lines != nullptr) {
    for (const CorpusLine& l : lines->lines())
      nodeTokens.emplace_back(l.document, l.token, l.token + std::max(l.span, 1) - 1);
  }
  for (int32_t w : nodes) {
    for (const DocumentHits& h : index.Hits(static_cast<size_t>(w))) {
      if (!corpus.subcorpus->Has(h.document)) continue;
      for (int32_t t : h.positions) nodeTokens.emplace_back(h.document, t, t);
    }
  }
  std::sort(nodeTokens.begin(), nodeTokens.end());
  nodeTokens.erase(std::unique(nodeTokens.begin(), nodeTokens.end()), nodeTokens.end());
  counts.nodes = static_cast<int32_t>(nodeTokens.size());
  for (const auto& [d, token, lastToken] : nodeTokens) {
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
    for (int64_t t = lastToken + 1; t < static_cast<int64_t>(doc.tokens) && found < window.right;
         ++t) {
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

std::string FixedNumber(double v, int decimals) {
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

double PerMillion(uint64_t frequency, uint64_t words) {
  return words == 0 ? 0 : static_cast<double>(frequency) * 1e6 / static_cast<double>(words);
}

namespace {

AnalysisCell Number(double v, int decimals) { return {FixedNumber(v, decimals), v}; }

std::string Utf8Word(const CorpusIndex& index, int32_t word) {
  std::string out;
  AppendEngineTextAsUtf8(index.rules(), index.words()[static_cast<size_t>(word)].word, &out);
  return out;
}

// By word of the index: the flag p's table gives its word (false for words not in it).
std::vector<bool> ByIndexWord(const Program& p, const CorpusIndex& index,
                              const std::vector<bool>& flags) {
  std::vector<bool> out(index.words().size(), false);
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const int64_t w = index.Find(p.arrWords[static_cast<size_t>(i)].strWord);
    if (w >= 0 && static_cast<size_t>(i) < flags.size())
      out[static_cast<size_t>(w)] = flags[static_cast<size_t>(i)];
  }
  return out;
}

}  // namespace

AnalysisTable CorpusDispersionTable(const OpenCorpus& corpus, const std::vector<int32_t>& words,
                                    const CorpusLines* lines) {
  const CorpusIndex& index = corpus.index;
  const Subcorpus& sub = *corpus.subcorpus;
  std::vector<uint32_t> parts;
  std::vector<double> shares;
  for (uint32_t d = 0; d < index.documents().size(); ++d) {
    if (!sub.Has(d)) continue;
    parts.push_back(d);
    shares.push_back(sub.tokens() == 0 ? 0
                                       : static_cast<double>(index.documents()[d].tokens) /
                                             static_cast<double>(sub.tokens()));
  }
  const double smallest = shares.empty() ? 0 : *std::min_element(shares.begin(), shares.end());
  AnalysisTable table;
  table.columns = {{"word", false},     {"frequency", true}, {"range", true},
                   {"documents", true}, {"gries_dp", true},  {"gries_dp_norm", true}};
  std::vector<double> v(index.documents().size());
  // A row from the counts by document in v.
  const auto row = [&](std::string label, uint64_t frequency) {
    std::vector<double> counts;
    uint32_t range = 0;
    for (uint32_t d : parts) {
      counts.push_back(v[d]);
      range += v[d] > 0;
    }
    const double dp = parts.size() >= 2 ? GriesDP(counts, shares) : 0;
    const double norm = parts.size() >= 2 && smallest < 1 ? dp / (1 - smallest) : 0;
    table.rows.push_back({{std::move(label), 0},
                          Number(static_cast<double>(frequency), 0),
                          Number(range, 0),
                          Number(static_cast<double>(parts.size()), 0),
                          Number(dp, 3),
                          Number(norm, 3)});
  };
  if (lines != nullptr) {
    // A query's: a row for each text matched, in the order of their first matches.
    std::vector<std::vector<uint32_t>> byText;
    std::vector<int32_t> order;
    for (const CorpusLine& l : lines->lines()) {
      const auto text = static_cast<size_t>(l.word);
      if (text >= byText.size()) byText.resize(text + 1);
      if (byText[text].empty()) order.push_back(l.word);
      byText[text].push_back(l.document);
    }
    for (const int32_t text : order) {
      std::fill(v.begin(), v.end(), 0);
      for (const uint32_t d : byText[static_cast<size_t>(text)]) ++v[d];
      const CorpusLine probe{0, 0, text, -1, 1};
      row(EngineTextAsUtf8(index.rules(), lines->MatchText(probe)),
          byText[static_cast<size_t>(text)].size());
    }
    return table;
  }
  for (int32_t w : words) {
    const uint32_t frequency = corpus.frequency[static_cast<size_t>(w)];
    if (frequency == 0) continue;
    std::fill(v.begin(), v.end(), 0);
    for (const DocumentHits& h : index.Hits(static_cast<size_t>(w)))
      v[h.document] = static_cast<double>(h.positions.size());
    row(Utf8Word(index, w), frequency);
  }
  return table;
}

AnalysisTable CorpusCollocatesTable(const Program& p, const OpenCorpus& corpus,
                                    const std::vector<int32_t>& nodes, CollocateWindow window,
                                    int32_t minFrequency, CollocationMeasure sortBy,
                                    const CorpusLines* lines) {
  // The candidates: what the run's options allow, stop words left out.
  const std::vector<bool> candidate =
      ByIndexWord(p, corpus.index, TakeWordFlags(p).Candidates(false));
  const std::vector<Collocate> found = CorpusCollocates(
      corpus, nodes, candidate, window, minFrequency, sortBy, p.intMaxPermittedWordLength, lines);
  AnalysisTable table;
  table.columns = {{"collocate", false}, {"frequency", true}, {"left", true},
                   {"right", true},      {"total", true},     {"logdice", true},
                   {"mi", true},         {"t", true},         {"ll", true}};
  for (const Collocate& c : found) {
    table.rows.push_back({{Utf8Word(corpus.index, c.word), static_cast<double>(c.word)},
                          Number(c.frequency, 0),
                          Number(c.left, 0),
                          Number(c.right, 0),
                          Number(c.total, 0),
                          Number(c.logDice, 3),
                          Number(c.mi, 3),
                          Number(c.t, 3),
                          Number(c.ll, 3)});
  }
  return table;
}

AnalysisTable CorpusNgramsTable(const Program& p, const OpenCorpus& corpus,
                                const NgramOptions& options, const std::vector<int32_t>& nodes) {
  const CorpusIndex& index = corpus.index;
  const std::vector<bool> usable = ByIndexWord(p, index, TakeWordFlags(p).allowed);
  std::vector<bool> isNode;
  if (!nodes.empty()) {
    isNode.assign(index.words().size(), false);
    for (int32_t w : nodes) isNode[static_cast<size_t>(w)] = true;
  }
  const std::vector<CorpusNgram> found =
      CorpusNgrams(corpus, options, usable, isNode, p.intMaxPermittedWordLength);
  AnalysisTable table;
  table.columns = {
      {"ngram", false}, {"frequency", true}, {"range", true}, {"first_document", false}};
  if (!nodes.empty()) table.columns.push_back({"place", false});
  for (const CorpusNgram& g : found) {
    std::string text;
    for (size_t k = 0; k < g.words.size(); ++k)
      text += (k > 0 ? " " : "") + Utf8Word(index, g.words[k]);
    std::vector<AnalysisCell> row = {{text, 0},
                                     Number(g.frequency, 0),
                                     Number(g.range, 0),
                                     {FileNameOf(index.documents()[g.firstDocument].path), 0}};
    if (!nodes.empty()) {
      const int n = static_cast<int>(g.words.size());
      row.push_back({g.place == 1 ? "left" : g.place == n ? "right" : "middle", 0});
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

AnalysisTable CorpusKeywordsTable(const OpenCorpus& corpus, const KeywordsResult& result) {
  AnalysisTable table;
  for (const char* column :
       {"frequency", "per_million", "range", "reference_frequency", "reference_per_million",
        "reference_range", "log_likelihood", "p", "log_ratio", "percent_diff", "simple_maths"})
    table.columns.push_back({column, true});
  table.columns.insert(table.columns.begin(), {"word", false});
  for (const KeynessRow& k : result.rows) {
    std::string word;
    AppendEngineTextAsUtf8(corpus.index.rules(), k.word, &word);
    table.rows.push_back({{word, 0},
                          Number(static_cast<double>(k.frequency), 0),
                          Number(PerMillion(k.frequency, result.words), 2),
                          Number(k.range, 0),
                          Number(static_cast<double>(k.referenceFrequency), 0),
                          Number(PerMillion(k.referenceFrequency, result.referenceWords), 2),
                          Number(k.referenceRange, 0),
                          Number(k.measures.logLikelihood, 2),
                          Number(k.measures.p, 6),
                          Number(k.measures.logRatio, 3),
                          Number(k.measures.percentDiff, 1),
                          Number(k.measures.simpleMaths, 3)});
  }
  return table;
}

}  // namespace quillmoor
