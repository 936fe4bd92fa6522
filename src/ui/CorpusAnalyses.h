// The analyses over a corpus, answered from its index: the windows of the node words
// read from the token stream, not from the documents' texts.
//
// The analyses count words, as over one document: a token whose spelling is no word of
// the table (a short word, a number) is passed over, and a hyphenated word is one
// token (its parts stand in it). A window never leaves its document. Under the Unicode
// rules, a token of a script written without spaces (Han, Thai...) counts as a word
// only when it is one word whole.
#ifndef QUILLMOOR_UI_CORPUSANALYSES_H_
#define QUILLMOOR_UI_CORPUSANALYSES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/AnalysisTable.h"
#include "analyses/Collocates.h"
#include "analyses/Ngrams.h"
#include "ui/CorpusLines.h"
#include "ui/CorpusQueries.h"

namespace quillmoor {

// The word each token spelling of the index is (its index in words()), or -1: the
// word the scanner makes of it, when it accepts it (`maxLength` the table's longest).
std::vector<int32_t> WordsOfTokens(const CorpusIndex& index, int maxLength);

// The collocates of the node words (indices in the index's words) within the
// subcorpus, and of the query's matches `lines` when given (each match a node, its
// windows counted from its ends); Collocate::word is an index in the index's words,
// `candidate` a flag for each of them.
std::vector<Collocate> CorpusCollocates(const OpenCorpus& corpus, const std::vector<int32_t>& nodes,
                                        const std::vector<bool>& candidate, CollocateWindow window,
                                        int32_t minFrequency, CollocationMeasure sortBy,
                                        int maxLength, const CorpusLines* lines = nullptr);

// An n-gram of a corpus: its words (indices in the index's words), the node's place (0
// without node words), its frequency, its range (the documents it occurs in) and the
// document of its first occurrence.
struct CorpusNgram {
  std::vector<int32_t> words;
  int place = 0;
  int32_t frequency = 0;
  uint32_t range = 0;
  uint32_t firstDocument = 0;
};

// The n-grams of the subcorpus, as over one document (a sequence never holds a word
// `usable` says no to, nor leaves its document) but across its line breaks: the index
// holds none. `nodes` empty: all of them; otherwise a flag for each word of the index.
// By frequency, highest first, ties in the order of their first occurrence.
std::vector<CorpusNgram> CorpusNgrams(const OpenCorpus& corpus, const NgramOptions& options,
                                      const std::vector<bool>& usable,
                                      const std::vector<bool>& nodes, int maxLength);

// A number with `decimals` decimals ("inf", "-inf" for the infinities), and a count
// per million words.
std::string FixedNumber(double v, int decimals);
double PerMillion(uint64_t frequency, uint64_t words);

// The tables the command line writes and the corpus window shows. The candidates,
// usable words and stop words are those of p's table (TableOfCorpus), as for a run.

// Gries's DP and DPnorm of the words over the subcorpus's documents as parts, sized by
// their tokens; words of frequency 0 in the subcorpus are left out. With a query's
// `lines`: of each text its matches matched instead.
AnalysisTable CorpusDispersionTable(const OpenCorpus& corpus, const std::vector<int32_t>& words,
                                    const CorpusLines* lines = nullptr);
AnalysisTable CorpusCollocatesTable(const Program& p, const OpenCorpus& corpus,
                                    const std::vector<int32_t>& nodes, CollocateWindow window,
                                    int32_t minFrequency, CollocationMeasure sortBy,
                                    const CorpusLines* lines = nullptr);
// `nodes` empty: every n-gram; otherwise those holding one of the node words, with their
// place.
AnalysisTable CorpusNgramsTable(const Program& p, const OpenCorpus& corpus,
                                const NgramOptions& options, const std::vector<int32_t>& nodes);
AnalysisTable CorpusKeywordsTable(const OpenCorpus& corpus, const KeywordsResult& result);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_CORPUSANALYSES_H_
