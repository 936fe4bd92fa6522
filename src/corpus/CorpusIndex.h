// A corpus: many documents as one, indexed on disk.
//
// The index file holds (doc/corpus-format.md):
// - the token stream: every token of every document (corpus/TokenRuns.h), in order, as
//   the id of its spelling in as few bytes as the largest id needs (two for up to 65,536
//   spellings, three up to 16 million), so that the token at any position is read at
//   once;
// - the token lexicon: each spelling with its frequency, in the order of the ids;
// - the word lexicon: the words the word scanner accepts (under one rule set for every
//   document), in the byte order of the words, each with its frequency, its range (the
//   number of documents it occurs in) and its position list: document by document, the
//   0-based numbers of the tokens it stands in (a hyphenated word's parts stand in the
//   whole word's token), delta coded with variable-length numbers;
// - the documents: path, size, modification time, MD5 digest, numbers of words and
//   tokens, the place of the kept text, metadata.
//
// Contract: CorpusIndex reads any bytes without reading out of bounds: a damaged or
// foreign file is refused with a message, and a position list is decoded only as far as
// it makes sense. The file is mapped into memory, not read: opening a corpus costs its
// lexicons and documents, whatever the number of its tokens.
//
// CorpusWriter writes a corpus document by document in bounded memory: the token
// stream goes to the file as documents arrive, the position lists are held up to a
// limit, then spilled to sorted runs beside the file and merged at the end. An update
// starts from the old index: its kept documents are copied, their lists merged with the
// new documents' ones, without scanning them again.
#ifndef QUILLMOOR_CORPUS_CORPUSINDEX_H_
#define QUILLMOOR_CORPUS_CORPUSINDEX_H_

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "corpus/TokenRuns.h"
#include "corpus/WriteBehind.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {

inline constexpr std::string_view kCorpusMagic = "Quillmoor corpus index\n";
inline constexpr uint32_t kCorpusVersion = 3;

struct CorpusDocument {
  std::string path;    // absolute
  std::string digest;  // MD5, 32 hexadecimal digits
  int64_t size = 0;
  int64_t modified = 0;                                       // seconds since 1970
  uint32_t words = 0;                                         // occurrences of the accepted words
  uint32_t tokens = 0;                                        // tokens in the stream
  uint64_t firstToken = 0;                                    // its first token's stream position
  uint32_t textPack = 0;                                      // where its kept text lies
  uint64_t textOffset = 0;                                    // (corpus/DocumentTexts.h)
  std::vector<std::pair<std::string, std::string>> metadata;  // (column, value)
  std::string Metadata(std::string_view column) const;
  // True when the document has the column (an empty value counts).
  bool HasMetadata(std::string_view column) const;
};

// One document's words: (word, the tokens it stands in, ascending).
using DocumentWords = std::vector<std::pair<std::string, std::vector<int32_t>>>;
// The same with the words as a writer's word ids.
using DocumentWordIds = std::vector<std::pair<uint32_t, std::vector<int32_t>>>;

// The same as the writer keeps them: (word id, piece), the piece being the number of
// occurrences, the length in bytes of what follows, then the tokens, each as its
// difference from the previous one (the first from 0), all as PutVarint writes them.
using DocumentPieces = std::vector<std::pair<uint32_t, std::string_view>>;

// Writes `value` as a variable-length number at `at` (at most five bytes), advancing it.
inline void PutVarint(uint8_t*& at, uint32_t value) {
  while (value >= 0x80) {
    *at++ = static_cast<uint8_t>(value | 0x80);
    value >>= 7;
  }
  *at++ = static_cast<uint8_t>(value);
}

// Writes the piece of `count` ascending tokens at `out`, which has room for 10 + 5 x
// count bytes, and advances it; returns the piece. The differences go after room for the
// head, and the head, once their length is known, just before them.
template <typename Token>
inline std::string_view PutPiece(const Token* tokens, uint32_t count, uint8_t*& out) {
  uint8_t* const room = out;
  out += 10;
  uint32_t last = 0;
  for (uint32_t i = 0; i < count; ++i) {
    PutVarint(out, static_cast<uint32_t>(tokens[i]) - last);
    last = static_cast<uint32_t>(tokens[i]);
  }
  uint8_t head[10];
  uint8_t* end = head;
  PutVarint(end, count);
  PutVarint(end, static_cast<uint32_t>(out - room - 10));
  const auto size = static_cast<size_t>(end - head);
  uint8_t* const begin = room + 10 - size;
  for (size_t i = 0; i < size; ++i) begin[i] = head[i];
  return {reinterpret_cast<const char*>(begin), static_cast<size_t>(out - begin)};
}

// A word's occurrences in one document.
struct DocumentHits {
  uint32_t document = 0;  // index in the corpus's documents
  std::vector<int32_t> positions;
};

class CorpusIndex {
 public:
  struct Word {
    std::string_view word;
    uint32_t frequency = 0;
    uint32_t range = 0;
    std::string_view postings;
  };
  struct Token {
    std::string_view spelling;
    uint64_t frequency = 0;
  };
  static constexpr uint32_t kNoToken = UINT32_MAX;

  CorpusIndex();
  ~CorpusIndex();
  CorpusIndex(const CorpusIndex&) = delete;
  CorpusIndex& operator=(const CorpusIndex&) = delete;

  // Maps the index file; false with *problem saying what is wrong.
  bool Open(const std::string& path, std::string* problem);
  // The same over bytes in memory.
  bool Parse(std::string bytes, std::string* problem);

  WordRuleSet rules() const { return rules_; }
  const std::vector<CorpusDocument>& documents() const { return documents_; }
  // The words in the byte order of their spelling.
  const std::vector<Word>& words() const { return words_; }
  const std::vector<Token>& tokenTypes() const { return tokens_; }
  uint64_t wordCount() const { return wordCount_; }
  uint64_t tokenCount() const { return tokenCount_; }
  // The index of `word` in words(), or -1.
  int64_t Find(std::string_view word) const;
  // The occurrences of word `index`, document by document.
  std::vector<DocumentHits> Hits(size_t index) const;
  // The id of the token at stream position `at` (kNoToken past the end or when damaged).
  uint32_t TokenAt(uint64_t at) const;
  // The bytes a token takes in the stream, and the stream's bytes of tokens
  // [first, first + count) (for a writer that keeps them).
  uint32_t width() const { return width_; }
  std::string_view StreamBytes(uint64_t first, uint64_t count) const {
    return first + count <= tokenCount_ ? stream_.substr(first * width_, count * width_)
                                        : std::string_view();
  }

 private:
  bool Load(std::string_view bytes, std::string* problem);

  std::string owned_;
  const char* map_ = nullptr;
  size_t mapSize_ = 0;
  WordRuleSet rules_ = WordRuleSet::kWindows1252;
  std::vector<CorpusDocument> documents_;
  std::vector<Word> words_;
  std::vector<Token> tokens_;
  std::string_view stream_;
  uint32_t width_ = 4;  // bytes a token
  uint64_t wordCount_ = 0;
  uint64_t tokenCount_ = 0;
};

// Writes a corpus index to `path` (the caller renames it into place). Intern and
// InternAll, WordId, and Add, AddPieces and Keep may run on three threads, one for each
// group; the rest on one, when those are done.
class CorpusWriter {
 public:
  // `spillBytes`: how much of the position lists is held before a run is spilled;
  // `base`, when given, is the old index an update starts from (it must outlive the
  // writer): its token ids stay.
  CorpusWriter(WordRuleSet rules, std::string path, size_t spillBytes,
               const CorpusIndex* base = nullptr);
  ~CorpusWriter();
  CorpusWriter(const CorpusWriter&) = delete;
  CorpusWriter& operator=(const CorpusWriter&) = delete;

  // Opens the file; false with *problem.
  bool Start(std::string* problem);
  // The next document: its words (with token numbers) and the spellings of its tokens.
  bool Add(CorpusDocument document, const DocumentWords& words,
           const std::vector<std::string_view>& tokens);
  // The same with its words and tokens as ids that WordId and Intern gave.
  bool Add(CorpusDocument document, const DocumentWordIds& words, const std::vector<uint32_t>& ids);
  // The same with the words' pieces ready (each piece's bytes are copied).
  bool AddPieces(CorpusDocument document, const DocumentPieces& pieces,
                 const std::vector<uint32_t>& ids);
  // The token id of a spelling, and the word id of a word (new ones take the next id).
  uint32_t Intern(std::string_view spelling);
  // The token ids of the runs of `text`, into ids[0..runs.size()): Intern's, the table
  // asked for many at a time.
  void InternAll(std::string_view text, const std::vector<TokenRun>& runs, uint32_t* ids);
  uint32_t WordId(const std::string& word);
  // The next document is document `number` of the base index, as it was.
  bool Keep(CorpusDocument document, uint32_t number);
  // Merges the lists and completes the file; false with *problem (the file is removed).
  // `durable`: the file is on the disk before Finish returns (an index that is to
  // replace another must be; a new one, lost in a crash, is only built again).
  bool Finish(std::string* problem, bool durable = true);
  size_t documents() const { return documents_.size(); }
  const std::vector<CorpusDocument>& documentList() const { return documents_; }
  WordRuleSet rules() const { return rules_; }
  // The runs spilled so far.
  size_t spills() const { return spilled_; }

 private:
  // A word's list as it grows: its pieces since the last spill, as a position list has
  // them (the first piece's document as its index + 1), and its counts so far.
  struct Pending {
    std::string pieces;
    uint32_t last = 0;  // 1 + the document of the last piece in `pieces`, 0 none
    uint32_t range = 0;
    uint64_t frequency = 0;
  };
  bool Spill();
  bool Write(const void* data, size_t size);
  bool WriteStream(const uint32_t* ids, size_t count);

  WordRuleSet rules_;
  std::string path_;
  size_t spillBytes_;
  const CorpusIndex* base_;
  std::FILE* file_ = nullptr;  // the index being written, at filePath_
  std::string filePath_;
  WriteBehind fileBehind_, streamBehind_;  // (corpus/WriteBehind.h)
  std::FILE* stream_ = nullptr;  // the token stream, streamWidth_ bytes a token, until Finish
  // Two bytes a token, or the base's width for an update (four when ids outgrow it).
  uint32_t streamWidth_ = 2;
  std::string scratch_;  // the pieces being encoded
  uint64_t tokens_ = 0;
  bool Widen();
  bool failed_ = false;
  std::string problem_;
  uint64_t offset_ = 0;  // bytes written
  uint64_t streamStart_ = 0;
  std::vector<CorpusDocument> documents_;
  std::vector<int64_t> fromBase_;  // base document number -> new number, or -1
  // The spellings by token id (Intern's: one after the other in `spellings_`, each
  // ending where the next begins), and their frequencies (Add's and Keep's: the two may
  // run on two threads).
  std::string spellings_;
  std::vector<uint64_t> spellingEnds_;
  std::string_view Spelling(size_t id) const {
    const uint64_t begin = id == 0 ? 0 : spellingEnds_[id - 1];
    return std::string_view(spellings_).substr(begin, spellingEnds_[id] - begin);
  }
  std::vector<uint64_t> tokenCounts_;
  size_t baseTokens_ = 0;
  // A spelling's key: up to 16 bytes, its bytes as two numbers (with its length, the
  // spelling itself); a longer one is compared in `spellings_`.
  struct SpellingKey {
    uint64_t low = 0, high = 0;
    uint32_t size = 0, hash = 0;
  };
  // `room`: sixteen bytes may be read from the spelling's first.
  static SpellingKey KeyOf(std::string_view spelling, bool room);
  uint32_t Find(const SpellingKey& key, std::string_view spelling);
  std::vector<SpellingKey> keys_;  // by token id
  // Open addressing over the token ids. A slot holds a spelling's first eight bytes and
  // a tag (the high bits of its hash, its length in the low eight, up to 255): for a
  // spelling of up to eight bytes that is the spelling, found in the one memory read.
  struct Slot {
    uint64_t low = 0;
    uint32_t tag = 0;
    uint32_t id = 0;  // 1 + the id; 0 an empty slot
  };
  static uint32_t TagOf(const SpellingKey& key) {
    return (key.hash & 0xFFFFFF00u) | std::min<uint32_t>(key.size, 255);
  }
  std::vector<Slot> slots_;
  std::vector<std::string> wordNames_;  // by word id (the base's words first)
  std::unordered_map<std::string, uint32_t> wordIds_;
  std::vector<Pending> pending_;  // by word id
  size_t pendingBytes_ = 0;
  std::vector<std::string> spills_;  // files of spilled runs, in document order
  size_t spilled_ = 0;
};

// Variable-length numbers: seven bits a byte, the high bit set on all but the last.
inline void AppendVarint(uint64_t value, std::string* out) {
  while (value >= 0x80) {
    out->push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out->push_back(static_cast<char>(value));
}
// The number at *at in `bytes`, advancing *at; false when the bytes end first or the
// number takes more than ten bytes.
bool ReadVarintSlowly(std::string_view bytes, size_t* at, uint64_t* value);
inline bool ReadVarint(std::string_view bytes, size_t* at, uint64_t* value) {
  // Numbers of one or two bytes, most of them, without a call.
  const size_t i = *at;
  if (i + 1 < bytes.size()) {
    const auto b0 = static_cast<uint8_t>(bytes[i]), b1 = static_cast<uint8_t>(bytes[i + 1]);
    if (b0 < 0x80) {
      *value = b0;
      *at = i + 1;
      return true;
    }
    if (b1 < 0x80) {
      *value = (b0 & 0x7Fu) | (uint64_t{b1} << 7);
      *at = i + 2;
      return true;
    }
  }
  return ReadVarintSlowly(bytes, at, value);
}

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_CORPUSINDEX_H_
