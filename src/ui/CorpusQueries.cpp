#include "ui/CorpusQueries.h"

#include <algorithm>
#include <unordered_map>

#include "query/CorpusTokens.h"
#include "shared/FileSystem.h"
#include "ui/Corpora.h"
#include "ui/CorpusLines.h"
#include "ui/Program.h"
#include "ui/QuerySearch.h"
#include "ui/RunDriver.h"

namespace quillmoor {

bool OpenCorpusWith(const std::string& name, const std::vector<std::string>& where, OpenCorpus* out,
                    std::string* problem) {
  std::vector<DocumentFilter> filters;
  for (const std::string& text : where) {
    DocumentFilter f;
    if (!ParseDocumentFilter(text, &f, problem)) return false;
    filters.push_back(std::move(f));
  }
  out->name = name;
  if (!LoadCorpus(name, &out->index, problem)) return false;
  out->subcorpus = std::make_unique<Subcorpus>(out->index, filters);
  if (out->subcorpus->documents() == 0) {
    *problem = "No document of corpus " + name + " passes the filters.";
    return false;
  }
  out->subcorpus->CountWords(&out->frequency, &out->range);
  return true;
}

void TableOfCorpus(Program& p, const OpenCorpus& corpus) {
  LoadCorpusTable(p, corpus.index, corpus.frequency);
  OrderWordTable(p);
  MarkAndCountWords(p);
}

TextSource KeptTextsOf(const OpenCorpus& corpus) {
  return [&corpus](uint32_t number, KeptText* text, std::string* problem) {
    return OpenCorpusText(corpus.name, corpus.index.documents()[number], text, problem);
  };
}

std::vector<int32_t> ChosenCorpusWords(const Program& p, const OpenCorpus& corpus,
                                       const std::string& keywords) {
  const ExploreQuery query = CorpusQuery(keywords, corpus.index.rules());
  std::vector<int32_t> chosen;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    if (keywords.empty() ? r.blnIncluded : query.SelectsWord(r.strWord)) {
      const int64_t w = corpus.index.Find(r.strWord);
      if (w >= 0) chosen.push_back(static_cast<int32_t>(w));
    }
  }
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

bool CorpusKeywords(Program& p, const OpenCorpus& corpus, const std::string& reference,
                    const std::vector<std::string>& referenceWhere, const KeynessOptions& options,
                    KeywordsResult* result, std::string* problem) {
  // A document is scanned before the corpus's table takes p's.
  std::unordered_map<std::string, std::pair<uint64_t, uint32_t>> counts;  // count, range
  const CorpusIndex& index = corpus.index;
  const std::string path = AbsolutePath(reference);
  const bool isCorpus = FileExists(CorpusIndexFileOf(reference)) || !FileExists(path);
  if (!isCorpus && !referenceWhere.empty()) {
    *problem = "--reference-where needs a corpus as the reference, not a file.";
    return false;
  }
  result->referenceWords = 0;
  if (isCorpus) {
    OpenCorpus other;
    if (!OpenCorpusWith(reference, referenceWhere, &other, problem)) return false;
    if (other.index.rules() != index.rules()) {
      *problem = "The reference " + reference + " was scanned under the " +
                 std::string(WordRuleSetName(other.index.rules())) +
                 " word rules, the corpus under the " +
                 std::string(WordRuleSetName(index.rules())) + " ones: index both alike.";
      return false;
    }
    for (size_t w = 0; w < other.index.words().size(); ++w) {
      if (other.frequency[w] > 0)
        counts[std::string(other.index.words()[w].word)] = {other.frequency[w], other.range[w]};
    }
    result->referenceWords = other.subcorpus->words();
  } else {
    std::unordered_map<std::string, uint64_t> list;
    std::string why;
    if (ReadFrequencyList(path, index.rules(), &list, &result->referenceWords, &why) &&
        result->referenceWords > 0) {
      for (auto& [word, n] : list) counts[word].first = n;
    } else {
      // Not a word list: one document.
      list.clear();
      if (!CountDocumentWords(p, path, index.rules(), &list, &result->referenceWords)) {
        *problem = reference +
                   ": neither a word list of word<TAB>count lines nor a document that can be read.";
        return false;
      }
      for (auto& [word, n] : list) counts[word] = {n, 1};
    }
  }
  result->words = corpus.subcorpus->words();
  if (result->referenceWords == 0 || result->words == 0) {
    *problem = "The corpus or the reference holds no words.";
    return false;
  }
  TableOfCorpus(p, corpus);
  std::vector<KeynessRow> rows;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    if (!r.blnIncluded) continue;
    const int64_t w = index.Find(r.strWord);
    if (w < 0) continue;
    KeynessRow row;
    row.word = r.strWord;
    row.frequency = corpus.frequency[static_cast<size_t>(w)];
    row.range = corpus.range[static_cast<size_t>(w)];
    if (const auto found = counts.find(r.strWord); found != counts.end()) {
      row.referenceFrequency = found->second.first;
      row.referenceRange = found->second.second;
    }
    rows.push_back(std::move(row));
  }
  result->rows = KeywordsOf(std::move(rows), result->words, result->referenceWords, options);
  return true;
}

bool FindInCorpus(const OpenCorpus& corpus, std::string_view text, const QueryOptions& options,
                  CorpusLines* lines, std::string* problem) {
  Query query;
  if (!ParseQueryFor(text, corpus.index.rules(), &query, problem)) return false;
  if (QueryUsesLines(query, options)) {
    *problem =
        "A corpus's index holds no line breaks: a query over a corpus cannot keep to a line "
        "(\"within line\", --within-line, a head+tail word); its matches keep to a document.";
    return false;
  }
  const QueryTokens tokens = TokensOfCorpus(corpus.index);
  std::vector<QueryMatch> matches;
  if (!FindQuery(query, text, tokens, options, RangesOf(corpus.index, *corpus.subcorpus), &matches,
                 problem))
    return false;
  lines->SelectMatches(matches);
  return true;
}

}  // namespace quillmoor
