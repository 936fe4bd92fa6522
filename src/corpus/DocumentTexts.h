// The display text of a corpus's documents, kept beside its index so that the lines a
// view shows are cut without reading the documents again (a PDF takes a second to read,
// its kept text milliseconds): one file per distinct content, texts/DIGEST.txt in the
// corpus's folder, the normalised text as it is. (Compressed with zlib at its fastest
// level, the texts took a third of their size and the indexing 50% longer: bench/README.)
//
// Each text carries marks: for a token in every 64, its number, where it begins and how
// many line-break marks (" / ") lie before it. A view's lines are then cut from a stretch of a few
// hundred bytes around them (KeptText::Stretch), not from the whole text; a text kept by
// an older version, without marks, is read whole.
//
// Contract: a text is written beside its file and renamed into place when complete; a
// missing or damaged file is reported, never read out of bounds.
#ifndef QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_
#define QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corpus/TokenRuns.h"

namespace quillmoor {

inline constexpr uint32_t kTokensAMark = 64;

// The marks of a text whose tokens are `runs`, encoded as they are kept.
std::string TextMarksOf(std::string_view text, const std::vector<TokenRun>& runs);

// A stretch of a kept text: its bytes from offset `begin`, the line-break marks before
// it, and the number of its first token. It begins at the text's start or at a token's.
struct TextStretch {
  std::string text;
  uint64_t begin = 0;
  int64_t lines = 0;
  int64_t firstToken = 0;
};

class DocumentTexts;

// One kept text, open for stretches.
class KeptText {
 public:
  KeptText() = default;
  ~KeptText();
  KeptText(const KeptText&) = delete;
  KeptText& operator=(const KeptText&) = delete;
  // False with *problem when the text is missing or not a kept text.
  bool Open(const DocumentTexts& texts, const std::string& digest, std::string* problem);
  // True when the text has no marks for tokens found under `utf8` (only the whole text
  // is read).
  bool whole(bool utf8) const { return offsets_.empty() || utf8 != utf8_; }
  // A stretch that holds tokens [first, last] (clamped to the text's), or the whole
  // text when whole(utf8); false with *problem when the file cannot be read.
  bool Stretch(int64_t first, int64_t last, bool utf8, TextStretch* out, std::string* problem);
  // Bytes [begin, end) of the text (end at most size()).
  bool Read(uint64_t begin, uint64_t end, TextStretch* out, std::string* problem);
  uint64_t size() const { return textSize_; }

 private:
  int fd_ = -1;
  std::string file_;
  uint64_t textStart_ = 0, textSize_ = 0;
  bool utf8_ = false;
  // Mark k's token, offset and line-break marks before it (mark 0: the text's start).
  std::vector<int64_t> tokens_;
  std::vector<uint64_t> offsets_;
  std::vector<int64_t> lines_;
};

class DocumentTexts {
 public:
  explicit DocumentTexts(std::string folder) : folder_(std::move(folder)) {}
  // The file of the text whose document has MD5 digest `digest`.
  std::string FileOf(const std::string& digest) const;
  bool Has(const std::string& digest) const;
  // `marks`: TextMarksOf the text's tokens (found under `utf8`).
  bool Save(const std::string& digest, std::string_view text, std::string_view marks, bool utf8,
            std::string* problem) const;
  // Removes the texts of digests not in `keep`.
  void RemoveAllBut(const std::set<std::string>& keep) const;

 private:
  std::string folder_;  // the corpus's folder
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_
