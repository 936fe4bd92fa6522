// Subcorpora: the documents of a corpus that filters on their metadata or names keep,
// and the word counts over them.
//
// A filter is COLUMN OP VALUE with OP one of = != >= <= > < ~ (~: the value holds the
// text, in any letter case). The columns are the metadata's, and "name" (the file's
// name), "path" and "folder". >= <= > < compare as numbers when both sides are numbers,
// else as text (byte order); = and != compare text. A document without the column
// passes only != filters. A document is kept when it passes every filter.
#ifndef QUILLMOOR_CORPUS_SUBCORPUS_H_
#define QUILLMOOR_CORPUS_SUBCORPUS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/CorpusIndex.h"

namespace quillmoor {

struct DocumentFilter {
  enum Op { kEqual, kNotEqual, kAtLeast, kAtMost, kMore, kLess, kHolds };
  std::string column;
  Op op = kEqual;
  std::string value;
};

// Reads "year>=1900"; false with *problem saying what is wrong.
bool ParseDocumentFilter(std::string_view text, DocumentFilter* filter, std::string* problem);
bool PassesFilter(const DocumentFilter& filter, const CorpusDocument& document);

// Which documents the filters keep (all when there are none).
class Subcorpus {
 public:
  Subcorpus(const CorpusIndex& index, const std::vector<DocumentFilter>& filters);
  bool whole() const { return whole_; }
  bool Has(uint32_t document) const { return keep_[document]; }
  size_t documents() const { return count_; }
  uint64_t words() const { return words_; }
  uint64_t tokens() const { return tokens_; }

  // The frequency and range of every word of the index (by its number) within the
  // subcorpus; of the whole corpus, they are the lexicon's. (A large corpus's lists are
  // read on two threads.)
  void CountWords(std::vector<uint32_t>* frequency, std::vector<uint32_t>* range) const;

 private:
  const CorpusIndex& index_;
  std::vector<bool> keep_;
  bool whole_ = true;
  size_t count_ = 0;
  uint64_t words_ = 0, tokens_ = 0;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_SUBCORPUS_H_
