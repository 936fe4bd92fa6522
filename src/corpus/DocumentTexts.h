// The display text of a corpus's documents, kept beside its index so that the lines a
// view shows are cut without reading the documents again (a PDF takes a second to read,
// its kept text milliseconds): one file per distinct content, texts/DIGEST.txt in the
// corpus's folder, the normalised text as it is. (Compressed with zlib at its fastest
// level, the texts took a third of their size and the indexing 50% longer: bench/README.)
//
// Contract: a text is written beside its file and renamed into place when complete; a
// missing or damaged file is reported, never read out of bounds.
#ifndef QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_
#define QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_

#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace quillmoor {

class DocumentTexts {
 public:
  explicit DocumentTexts(std::string folder) : folder_(std::move(folder)) {}
  // The file of the text whose document has MD5 digest `digest`.
  std::string FileOf(const std::string& digest) const;
  bool Has(const std::string& digest) const;
  bool Save(const std::string& digest, std::string_view text, std::string* problem) const;
  bool Load(const std::string& digest, std::string* text, std::string* problem) const;
  // Removes the texts of digests not in `keep`.
  void RemoveAllBut(const std::set<std::string>& keep) const;

 private:
  std::string folder_;  // the corpus's folder
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_
