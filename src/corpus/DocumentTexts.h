// The display text of a corpus's documents, kept beside its index so that the lines a
// view shows are cut without reading the documents again (a PDF takes a second to read,
// its kept text milliseconds): the normalised text of each distinct content, as it is.
// (Compressed with zlib at its fastest level, the texts took a third of their size and
// the indexing 50% longer: bench/README.)
//
// The texts lie in packs, texts/N.pack in the corpus's folder: a build writes the texts
// it scans one after the other into a new pack (one file, not one a document: creating
// thousands of files cost more than writing them), and a document's index record says
// where its text is (TextPlace). A pack no document needs any more is removed.
//
// Each text carries marks: for a token in every 64, its number, where it begins and how
// many line-break marks (" / ") lie before it. A view's lines are then cut from a
// stretch of a few hundred bytes around them (KeptText::Stretch), not from the whole
// text.
//
// Contract: a pack is written once, by one TextPackWriter, and is read by its places
// only; a missing or damaged text is reported, never read out of bounds.
#ifndef QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_
#define QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "corpus/TokenRuns.h"
#include "corpus/WriteBehind.h"

namespace quillmoor {

inline constexpr uint32_t kTokensAMark = 64;

// The marks of a text whose tokens are `runs`, encoded as they are kept.
std::string TextMarksOf(std::string_view text, const std::vector<TokenRun>& runs);

// Where a kept text lies: its pack (0: none) and the offset of its record there.
struct TextPlace {
  uint32_t pack = 0;
  uint64_t offset = 0;
};

// A stretch of a kept text: its bytes from offset `begin`, the line-break marks before
// it, and the number of its first token. It begins at the text's start or at a token's.
struct TextStretch {
  std::string text;
  uint64_t begin = 0;
  int64_t lines = 0;
  int64_t firstToken = 0;
};

class DocumentTexts {
 public:
  explicit DocumentTexts(std::string folder) : folder_(std::move(folder)) {}
  std::string PackFile(uint32_t pack) const;
  // A number no pack has yet.
  uint32_t NewPack() const;
  // Removes the packs not in `keep` (and texts of an older version of the program).
  void RemovePacksBut(const std::set<uint32_t>& keep) const;

 private:
  std::string folder_;  // the corpus's folder
};

// Writes one new pack; the texts are there once Finish has succeeded.
class TextPackWriter {
 public:
  TextPackWriter(const DocumentTexts& texts, uint32_t pack);
  ~TextPackWriter();
  TextPackWriter(const TextPackWriter&) = delete;
  TextPackWriter& operator=(const TextPackWriter&) = delete;
  // `marks`: TextMarksOf the text's tokens (found under `utf8`). False with *problem.
  bool Append(std::string_view text, std::string_view marks, bool utf8, TextPlace* place,
              std::string* problem);
  bool Finish(std::string* problem);
  // Leaves no pack behind.
  void Abandon();
  uint32_t pack() const { return pack_; }

 private:
  std::string file_;
  uint32_t pack_;
  std::FILE* out_ = nullptr;
  uint64_t offset_ = 0;
  bool failed_ = false;
  WriteBehind behind_;
};

// One kept text, open for stretches.
class KeptText {
 public:
  KeptText() = default;
  ~KeptText();
  KeptText(const KeptText&) = delete;
  KeptText& operator=(const KeptText&) = delete;
  // Opens the pack and asks for the text's head and marks, which Load reads (Stretch
  // and Read load it first). False with *problem when the pack is missing.
  bool Open(const DocumentTexts& texts, TextPlace place, std::string* problem);
  // False with *problem when the text is missing or damaged.
  bool Load(std::string* problem);
  // (Once loaded.) True when the text has no marks for tokens found under `utf8` (only
  // the whole text is read).
  bool whole(bool utf8) const { return utf8 != utf8_; }
  // (Once loaded.) Asks for the stretch Stretch(first, last, utf8) will read.
  void Prefetch(int64_t first, int64_t last, bool utf8) const;
  // A stretch that holds tokens [first, last] (clamped to the text's), or the whole
  // text when whole(utf8); false with *problem when the file cannot be read.
  bool Stretch(int64_t first, int64_t last, bool utf8, TextStretch* out, std::string* problem);
  // Bytes [begin, end) of the text (clamped to size()).
  bool Read(uint64_t begin, uint64_t end, TextStretch* out, std::string* problem);
  // (Once loaded.)
  uint64_t size() const { return textSize_; }

 private:
  size_t MarkAtOrBefore(int64_t token) const;
  // The bytes [*begin, *end) of a stretch, from mark *from.
  void Range(int64_t first, int64_t last, bool utf8, uint64_t* begin, uint64_t* end,
             size_t* from) const;

  int fd_ = -1;
  std::string file_;
  TextPlace place_;
  bool loaded_ = false;
  uint64_t textStart_ = 0, textSize_ = 0;
  bool utf8_ = false;
  // Mark k's token, offset and line-break marks before it (mark 0: the text's start).
  std::vector<int64_t> tokens_;
  std::vector<uint64_t> offsets_;
  std::vector<int64_t> lines_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_DOCUMENTTEXTS_H_
