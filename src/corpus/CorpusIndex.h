// A corpus: many documents as one, indexed on disk.
//
// The index holds a lexicon of the corpus's word types (the words the word scanner
// accepts, under one rule set for every document), each with its frequency, its range
// (the number of documents it occurs in) and its position list, and the documents
// themselves: path, size, modification time, MD5 digest, number of words, metadata.
// A position list gives, document by document, the 1-based positions of the word in
// the document's normalised text, as a run of that document alone would hold them;
// it is delta coded with variable-length numbers (doc/corpus-format.md).
//
// Contract: CorpusIndex reads any bytes without reading out of bounds: a damaged or
// foreign file is refused with a message. CorpusBuilder holds what it is given until
// Serialize; the corpus is rebuilt whole (an update decodes the unchanged documents'
// lists from the old index, so only the changed documents are scanned again).
#ifndef QUILLMOOR_CORPUS_CORPUSINDEX_H_
#define QUILLMOOR_CORPUS_CORPUSINDEX_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "shared/WordRuleSet.h"

namespace quillmoor {

inline constexpr std::string_view kCorpusMagic = "Quillmoor corpus index\n";
inline constexpr uint32_t kCorpusVersion = 1;

struct CorpusDocument {
  std::string path;    // absolute
  std::string digest;  // MD5, 32 hexadecimal digits
  int64_t size = 0;
  int64_t modified = 0;                                       // seconds since 1970
  uint32_t words = 0;                                         // occurrences of the accepted words
  std::vector<std::pair<std::string, std::string>> metadata;  // (column, value)
  std::string Metadata(std::string_view column) const;
};

// One document's words: (word, its positions ascending).
using DocumentWords = std::vector<std::pair<std::string, std::vector<int32_t>>>;

// A word's occurrences in one document.
struct DocumentHits {
  uint32_t document = 0;  // index in the corpus's documents
  std::vector<int32_t> positions;
};

class CorpusBuilder {
 public:
  explicit CorpusBuilder(WordRuleSet rules) : rules_(rules) {}
  // Adds the next document with its words (the positions of each ascending).
  void Add(CorpusDocument document, const DocumentWords& words);
  size_t documents() const { return documents_.size(); }
  // The index file's bytes.
  std::string Serialize() const;

 private:
  struct Type {
    uint32_t frequency = 0;
    uint32_t range = 0;
    uint32_t lastDocument = 0;
    std::string postings;
  };
  WordRuleSet rules_;
  std::vector<CorpusDocument> documents_;
  std::vector<std::pair<std::string, Type>> types_;  // in order of first appearance
  std::unordered_map<std::string, size_t> lookup_;   // word -> index in types_
};

class CorpusIndex {
 public:
  struct Type {
    std::string_view word;
    uint32_t frequency = 0;
    uint32_t range = 0;
    std::string_view postings;
  };

  // Takes the index file's bytes; false with *problem saying what is wrong.
  bool Parse(std::string bytes, std::string* problem);

  WordRuleSet rules() const { return rules_; }
  const std::vector<CorpusDocument>& documents() const { return documents_; }
  // The types in the byte order of their words.
  const std::vector<Type>& types() const { return types_; }
  uint64_t words() const { return words_; }
  // The index of `word` in types(), or -1.
  int64_t Find(std::string_view word) const;
  // The occurrences of type `index`, document by document.
  std::vector<DocumentHits> Hits(size_t index) const;
  // Every document's words (for an update that keeps them).
  std::vector<DocumentWords> AllDocumentWords() const;

 private:
  std::string bytes_;
  WordRuleSet rules_ = WordRuleSet::kWindows1252;
  std::vector<CorpusDocument> documents_;
  std::vector<Type> types_;
  uint64_t words_ = 0;
};

// Variable-length numbers: seven bits a byte, the high bit set on all but the last.
void AppendVarint(uint64_t value, std::string* out);
// The number at *at in `bytes`, advancing *at; false when the bytes end first or the
// number takes more than ten bytes.
bool ReadVarint(std::string_view bytes, size_t* at, uint64_t* value);

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_CORPUSINDEX_H_
