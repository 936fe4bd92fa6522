// What the command line and the corpus window ask of a corpus: opened with its
// filters (a subcorpus), its words in a program's table under the run's filters, the
// words a keyword query picks, and its keywords against a reference.
#ifndef QUILLMOOR_UI_CORPUSQUERIES_H_
#define QUILLMOOR_UI_CORPUSQUERIES_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/Keyness.h"
#include "corpus/Subcorpus.h"
#include "query/Evaluate.h"
#include "ui/CorpusLines.h"

namespace quillmoor {

struct Program;

// A corpus opened for queries: its index, the documents its filters keep, and the
// words' counts among them (by word of the index).
struct OpenCorpus {
  std::string name;
  CorpusIndex index;
  std::unique_ptr<Subcorpus> subcorpus;
  std::vector<uint32_t> frequency, range;
};

// The kept texts of the corpus's documents, for its lines (`corpus` must outlive it).
TextSource KeptTextsOf(const OpenCorpus& corpus);

// Opens corpus `name` with the filters `where` ("year>=1900"); false with *problem (a
// filter that does not parse, no such corpus, a damaged index, no document kept).
bool OpenCorpusWith(const std::string& name, const std::vector<std::string>& where, OpenCorpus* out,
                    std::string* problem);

// The corpus's words in p's table, with their counts, marked and counted by the run's
// filters (what a word list of them lists).
void TableOfCorpus(Program& p, const OpenCorpus& corpus);

// The words of the corpus (indices in its index) that a UTF-8 keyword query selects
// (as a search: whatever the listing's filters), or, for an empty query, those p's
// table lists; ascending.
std::vector<int32_t> ChosenCorpusWords(const Program& p, const OpenCorpus& corpus,
                                       const std::string& keywords);

// The lines (CorpusLines::SelectMatches) of the matches of a query of the query language
// (typed in UTF-8) in the documents the corpus's filters keep; false with *problem (a
// query that cannot be read, or that asks for lines: the index holds no line breaks).
bool FindInCorpus(const OpenCorpus& corpus, std::string_view text, const QueryOptions& options,
                  CorpusLines* lines, std::string* problem);

struct KeywordsResult {
  std::vector<KeynessRow> rows;
  uint64_t words = 0, referenceWords = 0;
};

// The keywords of `corpus` against `reference`: a corpus (with `referenceWhere`), one
// document (scanned under the corpus's rules), or a word list file of word<TAB>count
// lines. Puts the corpus's table in p (the run's filters decide the words compared).
// False with *problem.
bool CorpusKeywords(Program& p, const OpenCorpus& corpus, const std::string& reference,
                    const std::vector<std::string>& referenceWhere, const KeynessOptions& options,
                    KeywordsResult* result, std::string* problem);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_CORPUSQUERIES_H_
