#include "corpus/CorpusIndex.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace quillmoor {
namespace {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the stream is written as it lies");

constexpr size_t kFooterSize = 5 * 8 + 4;  // five numbers, "end\n"
// The head: the magic, then the version, the rules and the width (a byte each).
constexpr size_t kHeadSize = kCorpusMagic.size() + 3;

// The last bytes of a spelling (fewer than eight) as one number, read in at most two
// loads: for the hash and the comparison of short spellings.
inline uint64_t TailOf(const char* p, size_t n) {
  if (n >= 4) {
    uint32_t a = 0, b = 0;
    std::memcpy(&a, p, 4);
    std::memcpy(&b, p + n - 4, 4);
    return (static_cast<uint64_t>(a) << 32) | b;
  }
  if (n == 0) return 0;
  return static_cast<uint64_t>(static_cast<uint8_t>(p[0])) |
         static_cast<uint64_t>(static_cast<uint8_t>(p[n / 2])) << 8 |
         static_cast<uint64_t>(static_cast<uint8_t>(p[n - 1])) << 16;
}

inline uint64_t Fixed64(const char* p) {
  uint64_t v = 0;
  std::memcpy(&v, p, 8);
  return v;
}

// A spelling's hash: eight bytes at a time, mixed by multiplication.
uint32_t SpellingHash(std::string_view s) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    h = (h ^ Fixed64(s.data() + i)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
  }
  h = (h ^ TailOf(s.data() + i, s.size() - i)) * 0x94D049BB133111EBull;
  h ^= h >> 29;
  return static_cast<uint32_t>(h);
}

// True when the `n` bytes at a and b are the same.
inline bool SameBytes(const char* a, const char* b, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (Fixed64(a + i) != Fixed64(b + i)) return false;
  }
  return TailOf(a + i, n - i) == TailOf(b + i, n - i);
}

void AppendString(std::string_view s, std::string* out) {
  AppendVarint(s.size(), out);
  out->append(s);
}

void AppendFixed64(uint64_t v, std::string* out) {
  char b[8];
  std::memcpy(b, &v, 8);
  out->append(b, 8);
}

// A checked reading of the index's bytes: every read says whether it fitted.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Number(uint64_t* v) { return ReadVarint(bytes_, &at_, v); }
  bool Number32(uint32_t* v) {
    uint64_t n = 0;
    if (!Number(&n) || n > UINT32_MAX) return false;
    *v = static_cast<uint32_t>(n);
    return true;
  }
  bool String(std::string_view* s) {
    uint64_t n = 0;
    if (!Number(&n) || n > bytes_.size() - at_) return false;
    *s = bytes_.substr(at_, n);
    at_ += n;
    return true;
  }
  bool Literal(std::string_view s) {
    if (bytes_.substr(at_, s.size()) != s) return false;
    at_ += s.size();
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }
  size_t left() const { return bytes_.size() - at_; }
  size_t at() const { return at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

// One document's stretch of a position list: its document, its number of positions
// and their bytes (deltas from 0).
struct Piece {
  uint64_t document = 0;
  uint64_t count = 0;
  std::string_view positions;
};

// Reads the pieces of a position list. In a file's list a document is its distance
// from the previous one (the first: its index + 1); in a writer's run it is absolute.
class PieceReader {
 public:
  explicit PieceReader(std::string_view bytes) : bytes_(bytes) {}
  bool Next(Piece* piece) {
    uint64_t step = 0, count = 0, size = 0;
    if (at_ >= bytes_.size() || !ReadVarint(bytes_, &at_, &step) ||
        !ReadVarint(bytes_, &at_, &count) || !ReadVarint(bytes_, &at_, &size) || count == 0 ||
        size > bytes_.size() - at_ || count > size || size > count * 5) {
      return false;
    }
    // (A distance that would wrap the number round is damage, not a step back.)
    if (step == 0 || (!first_ && step > UINT64_MAX - document_)) return false;
    piece->document = first_ ? step - 1 : document_ + step;
    first_ = false;
    document_ = piece->document;
    piece->count = count;
    piece->positions = bytes_.substr(at_, size);
    at_ += size;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
  bool first_ = true;
  uint64_t document_ = 0;
};

// A spilled run read back entry by entry: (word id, 1 + its last document, pieces). The
// file is mapped, not read: its pieces go to the index without a copy of their own.
class RunReader {
 public:
  explicit RunReader(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat s;
    if (fd < 0) return;
    if (::fstat(fd, &s) == 0) {
      size_ = static_cast<size_t>(s.st_size);
      void* map = size_ == 0 ? nullptr : ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
      if (map != MAP_FAILED) {
        map_ = static_cast<const char*>(map);
        ok_ = true;
        if (map_ != nullptr) ::madvise(map, size_, MADV_SEQUENTIAL);
      }
    }
    ::close(fd);
  }
  ~RunReader() {
    if (map_ != nullptr) ::munmap(const_cast<char*>(map_), size_);
  }
  RunReader(const RunReader&) = delete;
  RunReader& operator=(const RunReader&) = delete;
  bool ok() const { return ok_; }
  // Moves to the next entry; false at the end.
  bool Advance() {
    // What was merged leaves the process's memory 16 MB at a time (the bytes of the
    // entry before this one may still be in use).
    const size_t done = bytes_.empty() ? at_ : static_cast<size_t>(bytes_.data() - map_);
    if (done >= released_ + (size_t{16} << 20)) {
      const size_t to = done / 4096 * 4096;
      ::madvise(const_cast<char*>(map_) + released_, to - released_, MADV_DONTNEED);
      released_ = to;
    }
    const std::string_view file(map_, size_);
    uint64_t id = 0, last = 0, size = 0;
    if (!ReadVarint(file, &at_, &id) || !ReadVarint(file, &at_, &last) ||
        !ReadVarint(file, &at_, &size) || size > size_ - at_)
      return valid_ = false;
    bytes_ = file.substr(at_, size);
    at_ += size;
    id_ = id;
    last_ = last;
    return valid_ = true;
  }
  bool valid() const { return valid_; }
  uint64_t id() const { return id_; }
  uint64_t last() const { return last_; }
  std::string_view bytes() const { return bytes_; }

 private:
  const char* map_ = nullptr;
  size_t size_ = 0, at_ = 0, released_ = 0;
  bool ok_ = false, valid_ = false;
  uint64_t id_ = 0, last_ = 0;
  std::string_view bytes_;
};

}  // namespace

bool ReadVarintSlowly(std::string_view bytes, size_t* at, uint64_t* value) {
  uint64_t v = 0;
  for (int shift = 0; shift < 70; shift += 7) {
    if (*at >= bytes.size()) return false;
    const uint8_t b = static_cast<uint8_t>(bytes[(*at)++]);
    if (shift == 63 && b > 1) return false;
    v |= static_cast<uint64_t>(b & 0x7F) << shift;
    if ((b & 0x80) == 0) {
      *value = v;
      return true;
    }
  }
  return false;
}

std::string CorpusDocument::Metadata(std::string_view column) const {
  for (const auto& [key, value] : metadata) {
    if (key == column) return value;
  }
  return "";
}

bool CorpusDocument::HasMetadata(std::string_view column) const {
  for (const auto& field : metadata) {
    if (field.first == column) return true;
  }
  return false;
}

// --- Reading ---

CorpusIndex::CorpusIndex() = default;

CorpusIndex::~CorpusIndex() {
  if (map_ != nullptr) ::munmap(const_cast<char*>(map_), mapSize_);
}

bool CorpusIndex::Open(const std::string& path, std::string* problem) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *problem = std::strerror(errno);
    return false;
  }
  struct stat s;
  if (::fstat(fd, &s) != 0 || s.st_size <= 0) {
    ::close(fd);
    *problem = "it is empty";
    return false;
  }
  void* map = ::mmap(nullptr, static_cast<size_t>(s.st_size), PROT_READ, MAP_SHARED, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) {
    *problem = std::strerror(errno);
    return false;
  }
  map_ = static_cast<const char*>(map);
  mapSize_ = static_cast<size_t>(s.st_size);
  // The documents and lexicons, read first and whole, are asked for in one go (a cold
  // start then reads them in a few large reads, not a page at a time).
  if (mapSize_ >= kFooterSize) {
    const uint64_t tailStart = Fixed64(map_ + mapSize_ - kFooterSize + 24);
    if (tailStart < mapSize_) {
      const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
      const uint64_t from = tailStart / page * page;
      ::madvise(const_cast<char*>(map_) + from, mapSize_ - from, MADV_WILLNEED);
    }
  }
  return Load(std::string_view(map_, mapSize_), problem);
}

bool CorpusIndex::Parse(std::string bytes, std::string* problem) {
  owned_ = std::move(bytes);
  return Load(owned_, problem);
}

bool CorpusIndex::Load(std::string_view bytes, std::string* problem) {
  documents_.clear();
  words_.clear();
  tokens_.clear();
  const auto fail = [problem](const char* what) {
    *problem = what;
    return false;
  };
  Reader head(bytes);
  if (!head.Literal(kCorpusMagic)) return fail("it is not a corpus index of this program");
  uint64_t version = 0, rules = 0;
  if (!head.Number(&version) || version != kCorpusVersion) {
    return fail("it was written in another version of the corpus index");
  }
  if (!head.Number(&rules) || rules > 1) return fail("its word rules are unknown");
  rules_ = WordRuleSetOf(rules == 1);
  uint64_t width = 0;
  if (!head.Number(&width) || width < 1 || width > 4) return fail("its token width is unknown");
  width_ = static_cast<uint32_t>(width);
  if (bytes.size() < head.at() + kFooterSize || bytes.substr(bytes.size() - 4) != "end\n") {
    return fail("it is incomplete or damaged at its end");
  }
  const char* footer = bytes.data() + bytes.size() - kFooterSize;
  const uint64_t streamStart = Fixed64(footer), tokens = Fixed64(footer + 8),
                 postingsStart = Fixed64(footer + 16), tailStart = Fixed64(footer + 24),
                 tailSize = Fixed64(footer + 32);
  const uint64_t end = bytes.size() - kFooterSize;
  if (streamStart < head.at() || streamStart > end || tokens > (end - streamStart) / width_ ||
      postingsStart != streamStart + tokens * width_ || tailStart < postingsStart ||
      tailStart > end || tailSize != end - tailStart) {
    return fail("its table of contents is damaged");
  }
  stream_ = bytes.substr(streamStart, tokens * width_);
  tokenCount_ = tokens;
  const std::string_view postings = bytes.substr(postingsStart, tailStart - postingsStart);

  Reader r(bytes.substr(tailStart, tailSize));
  uint64_t count = 0;
  // Each document takes at least 8 bytes, each type at least 2, each word 5: counts
  // beyond what the file can hold are damage, not a reason to reserve memory.
  if (!r.Number(&count) || count > r.left() / 8) return fail("its list of documents is damaged");
  documents_.reserve(count);
  uint64_t words = 0, first = 0;
  for (uint64_t i = 0; i < count; ++i) {
    CorpusDocument d;
    std::string_view path, digest;
    uint64_t size = 0, modified = 0, meta = 0;
    if (!r.String(&path) || !r.String(&digest) || !r.Number(&size) || !r.Number(&modified) ||
        !r.Number32(&d.words) || !r.Number32(&d.tokens) || !r.Number32(&d.textPack) ||
        !r.Number(&d.textOffset) || !r.Number(&meta) || meta > r.left() / 2) {
      return fail("its list of documents is damaged");
    }
    d.path = path;
    d.digest = digest;
    d.size = static_cast<int64_t>(size);
    d.modified = static_cast<int64_t>(modified);
    d.firstToken = first;
    first += d.tokens;
    for (uint64_t k = 0; k < meta; ++k) {
      std::string_view key, value;
      if (!r.String(&key) || !r.String(&value)) return fail("its metadata are damaged");
      d.metadata.emplace_back(key, value);
    }
    words += d.words;
    documents_.push_back(std::move(d));
  }
  if (first != tokens) return fail("its documents do not add up to its tokens");
  if (!r.Number(&count) || count > r.left() / 2) return fail("its token lexicon is damaged");
  tokens_.reserve(count);
  uint64_t sum = 0;
  for (uint64_t i = 0; i < count; ++i) {
    Token t;
    if (!r.String(&t.spelling) || !r.Number(&t.frequency) || t.frequency > tokens)
      return fail("its token lexicon is damaged");
    sum += t.frequency;
    tokens_.push_back(t);
  }
  if (sum != tokens) return fail("its token lexicon does not add up to its tokens");
  if (!r.Number(&count) || count > r.left() / 5) return fail("its lexicon is damaged");
  words_.reserve(count);
  uint64_t occurrences = 0;
  for (uint64_t i = 0; i < count; ++i) {
    Word w;
    uint64_t at = 0, size = 0;
    if (!r.String(&w.word) || !r.Number32(&w.frequency) || !r.Number32(&w.range) ||
        !r.Number(&at) || !r.Number(&size) || at > postings.size() || size > postings.size() - at ||
        w.range > documents_.size() || w.range > w.frequency) {
      return fail("its lexicon is damaged");
    }
    w.postings = postings.substr(at, size);
    if (!words_.empty() && !(words_.back().word < w.word))
      return fail("its lexicon is out of order");
    occurrences += w.frequency;
    words_.push_back(w);
  }
  wordCount_ = words;
  if (occurrences != words || !r.AtEnd()) return fail("it is incomplete or damaged at its end");
  return true;
}

int64_t CorpusIndex::Find(std::string_view word) const {
  const auto at = std::lower_bound(words_.begin(), words_.end(), word,
                                   [](const Word& t, std::string_view w) { return t.word < w; });
  return at != words_.end() && at->word == word ? at - words_.begin() : -1;
}

std::vector<DocumentHits> CorpusIndex::Hits(size_t index) const {
  std::vector<DocumentHits> hits;
  // A long list is asked for whole before it is read (one read, not a page at a time).
  const std::string_view list = words_[index].postings;
  if (map_ != nullptr && list.size() >= (size_t{64} << 10)) {
    const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t from = reinterpret_cast<uintptr_t>(list.data()) / page * page;
    ::madvise(reinterpret_cast<void*>(from),
              reinterpret_cast<uintptr_t>(list.data()) + list.size() - from, MADV_WILLNEED);
  }
  PieceReader pieces(words_[index].postings);
  Piece piece;
  // A damaged list ends where it stops making sense.
  while (pieces.Next(&piece) && piece.document < documents_.size()) {
    DocumentHits h;
    h.document = static_cast<uint32_t>(piece.document);
    h.positions.reserve(piece.count);
    const uint64_t limit = documents_[piece.document].tokens;
    size_t at = 0;
    uint64_t position = 0, delta = 0;
    for (uint64_t k = 0; k < piece.count; ++k) {
      ReadVarint(piece.positions, &at, &delta);
      position += delta;
      if (position >= limit) return hits;
      h.positions.push_back(static_cast<int32_t>(position));
    }
    hits.push_back(std::move(h));
  }
  return hits;
}

uint32_t CorpusIndex::TokenAt(uint64_t at) const {
  if (at >= tokenCount_) return kNoToken;
  uint32_t id = 0;
  std::memcpy(&id, stream_.data() + at * width_, width_);
  return id < tokens_.size() ? id : kNoToken;
}

// --- Writing ---

CorpusWriter::CorpusWriter(WordRuleSet rules, std::string path, size_t spillBytes,
                           const CorpusIndex* base)
    : rules_(rules), path_(std::move(path)), spillBytes_(spillBytes), base_(base) {
  if (base_ == nullptr) return;
  fromBase_.assign(base_->documents().size(), -1);
  streamWidth_ = base_->width();
  for (const CorpusIndex::Token& t : base_->tokenTypes()) Intern(t.spelling);
  baseTokens_ = spellingEnds_.size();
  for (const CorpusIndex::Word& w : base_->words()) WordId(std::string(w.word));
}

CorpusWriter::~CorpusWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(filePath_.c_str());
  }
  if (stream_ != nullptr) {
    std::fclose(stream_);
    std::remove((path_ + ".stream").c_str());
  }
  for (const std::string& spill : spills_) std::remove(spill.c_str());
}

inline CorpusWriter::SpellingKey CorpusWriter::KeyOf(std::string_view spelling, bool room) {
  SpellingKey key;
  const size_t n = spelling.size();
  key.size = static_cast<uint32_t>(n);
  if (n > 16) {
    key.low = Fixed64(spelling.data());
    key.hash = SpellingHash(spelling);
    return key;
  }
  // Sixteen bytes read at once where they may be (no test of the length to mispredict),
  // those past the spelling masked off.
  static constexpr uint64_t kKeep[9] = {0,           0xFF,         0xFFFF,         0xFFFFFF,
                                        0xFFFFFFFF,  0xFFFFFFFFFF, 0xFFFFFFFFFFFF, 0xFFFFFFFFFFFFFF,
                                        ~uint64_t{0}};
  uint64_t low = 0, high = 0;
  if (room) {
    low = Fixed64(spelling.data());
    high = Fixed64(spelling.data() + 8);
  } else {
    char bytes[16] = {};
    std::memcpy(bytes, spelling.data(), n);
    low = Fixed64(bytes);
    high = Fixed64(bytes + 8);
  }
  const size_t lowBytes = n < 8 ? n : 8;
  key.low = low & kKeep[lowBytes];
  key.high = high & kKeep[n - lowBytes];
  const uint64_t mixed = (key.low ^ (key.high * 0xBF58476D1CE4E5B9ull) ^ n) * 0x9E3779B97F4A7C15ull;
  key.hash = static_cast<uint32_t>(mixed >> 32);
  return key;
}

uint32_t CorpusWriter::Intern(std::string_view spelling) {
  return Find(KeyOf(spelling, false), spelling);
}

void CorpusWriter::InternAll(std::string_view text, const std::vector<TokenRun>& runs,
                             uint32_t* ids) {
  // A block's keys first, each one's slot asked of the memory as it is made, then the
  // lookups: the waits for the slots overlap.
  constexpr size_t kBlock = 32;
  SpellingKey keys[kBlock];
  for (size_t from = 0; from < runs.size(); from += kBlock) {
    const size_t n = std::min(kBlock, runs.size() - from);
    const size_t mask = slots_.empty() ? 0 : slots_.size() - 1;
    for (size_t j = 0; j < n; ++j) {
      const TokenRun& run = runs[from + j];
      keys[j] = KeyOf(text.substr(run.begin, run.size), run.begin + 16 <= text.size());
      if (mask != 0) __builtin_prefetch(&slots_[keys[j].hash & mask]);
    }
    for (size_t j = 0; j < n; ++j) {
      // Most tokens are short spellings met before, in their first slot.
      const SpellingKey& key = keys[j];
      if (key.size <= 8 && !slots_.empty()) {
        const Slot& slot = slots_[key.hash & (slots_.size() - 1)];
        if (slot.id != 0 && slot.low == key.low && slot.tag == TagOf(key)) {
          ids[from + j] = slot.id - 1;
          continue;
        }
      }
      const TokenRun& run = runs[from + j];
      ids[from + j] = Find(key, text.substr(run.begin, run.size));
    }
  }
}

uint32_t CorpusWriter::Find(const SpellingKey& key, std::string_view spelling) {
  const size_t count = keys_.size();
  if (slots_.empty() || count * 2 >= slots_.size()) {
    // Grown to four times the ids, every id placed again.
    std::vector<Slot> slots(std::max<size_t>(1024, count * 4));
    const size_t mask = slots.size() - 1;
    for (const Slot& slot : slots_) {
      if (slot.id == 0) continue;
      size_t at = keys_[slot.id - 1].hash & mask;
      while (slots[at].id != 0) at = (at + 1) & mask;
      slots[at] = slot;
    }
    slots_ = std::move(slots);
  }
  const size_t mask = slots_.size() - 1;
  const uint32_t tag = TagOf(key);
  size_t at = key.hash & mask;
  for (; slots_[at].id != 0; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.low != key.low || slot.tag != tag) continue;
    const uint32_t id = slot.id - 1;
    if (key.size <= 8) return id;
    const SpellingKey& known = keys_[id];
    if (known.size != key.size) continue;
    if (key.size <= 16) {
      if (known.high == key.high) return id;
      continue;
    }
    const uint64_t begin = id == 0 ? 0 : spellingEnds_[id - 1];
    if (SameBytes(spellings_.data() + begin, spelling.data(), spelling.size())) return id;
  }
  const auto id = static_cast<uint32_t>(count);
  spellings_.append(spelling);
  spellingEnds_.push_back(spellings_.size());
  keys_.push_back(key);
  slots_[at] = {key.low, tag, id + 1};
  return id;
}

uint32_t CorpusWriter::WordId(const std::string& word) {
  const auto [found, fresh] = wordIds_.try_emplace(word, static_cast<uint32_t>(wordNames_.size()));
  if (fresh) wordNames_.push_back(word);
  return found->second;
}

bool CorpusWriter::Write(const void* data, size_t size) {
  if (failed_) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
    failed_ = true;
    problem_ = std::string("it cannot be written: ") + std::strerror(errno);
    return false;
  }
  offset_ += size;
  fileBehind_.Wrote(file_, offset_);
  return true;
}

bool CorpusWriter::WriteStream(const uint32_t* ids, size_t count) {
  if (failed_) return false;
  uint32_t largest = 0;
  for (size_t i = 0; i < count; ++i) largest = std::max(largest, ids[i]);
  if (streamWidth_ < 4 && largest >= (uint32_t{1} << (8 * streamWidth_)) && !Widen()) return false;
  std::vector<char> packed(count * streamWidth_);
  // (A copy of a width known when compiled is a move, not a call.)
  const auto pack = [&]<size_t kWidth>() {
    for (size_t i = 0; i < count; ++i) std::memcpy(packed.data() + i * kWidth, &ids[i], kWidth);
  };
  switch (streamWidth_) {
    case 1:
      pack.operator()<1>();
      break;
    case 2:
      pack.operator()<2>();
      break;
    case 3:
      pack.operator()<3>();
      break;
    default:
      pack.operator()<4>();
      break;
  }
  if (count > 0 && std::fwrite(packed.data(), 1, packed.size(), stream_) != packed.size()) {
    failed_ = true;
    problem_ = std::string("it cannot be written: ") + std::strerror(errno);
    return false;
  }
  tokens_ += count;
  streamBehind_.Wrote(stream_, kHeadSize + tokens_ * streamWidth_);
  return true;
}

bool CorpusWriter::Widen() {
  // The stream so far written again, four bytes a token.
  const std::string wider = path_ + ".stream4";
  std::FILE* out = std::fopen(wider.c_str(), "w+b");
  const char room[kHeadSize] = {};
  bool ok = out != nullptr && std::fwrite(room, 1, kHeadSize, out) == kHeadSize &&
            std::fflush(stream_) == 0 && std::fseek(stream_, kHeadSize, SEEK_SET) == 0;
  std::vector<char> narrow(size_t{1} << 16);
  std::vector<uint32_t> ids;
  for (uint64_t left = tokens_; ok && left > 0;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, narrow.size() / streamWidth_));
    ok = std::fread(narrow.data(), streamWidth_, n, stream_) == n;
    ids.assign(n, 0);
    for (size_t i = 0; i < n && ok; ++i)
      std::memcpy(&ids[i], narrow.data() + i * streamWidth_, streamWidth_);
    ok = ok && std::fwrite(ids.data(), 4, n, out) == n;
    left -= n;
  }
  std::fclose(stream_);
  stream_ = out;
  ok = ok && std::rename(wider.c_str(), (path_ + ".stream").c_str()) == 0;
  if (!ok) {
    failed_ = true;
    problem_ = "the token stream cannot be widened";
    return false;
  }
  streamWidth_ = 4;
  streamBehind_ = WriteBehind(kHeadSize + tokens_ * 4);
  return true;
}

bool CorpusWriter::Start(std::string* problem) {
  // The stream is written after room for the head: when its width stays, the stream's
  // file becomes the index (no copy of the largest part).
  stream_ = std::fopen((path_ + ".stream").c_str(), "w+b");
  const char room[kHeadSize] = {};
  if (stream_ == nullptr || std::fwrite(room, 1, kHeadSize, stream_) != kHeadSize) {
    *problem = path_ + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool CorpusWriter::Add(CorpusDocument document, const DocumentWords& words,
                       const std::vector<std::string_view>& tokens) {
  std::vector<uint32_t> ids(tokens.size());
  for (size_t i = 0; i < tokens.size(); ++i) ids[i] = Intern(tokens[i]);
  DocumentWordIds byId;
  byId.reserve(words.size());
  for (const auto& [word, positions] : words) byId.emplace_back(WordId(word), positions);
  return Add(std::move(document), byId, ids);
}

bool CorpusWriter::Add(CorpusDocument document, const DocumentWordIds& words,
                       const std::vector<uint32_t>& ids) {
  // Each word's piece (PutPiece), in one buffer made large enough first.
  size_t room = 0;
  for (const auto& w : words) room += 10 + 5 * w.second.size();
  scratch_.resize(room);
  uint8_t* at = reinterpret_cast<uint8_t*>(scratch_.data());
  DocumentPieces pieces;
  pieces.reserve(words.size());
  for (const auto& [word, positions] : words) {
    if (positions.empty()) continue;
    pieces.emplace_back(word,
                        PutPiece(positions.data(), static_cast<uint32_t>(positions.size()), at));
  }
  return AddPieces(std::move(document), pieces, ids);
}

bool CorpusWriter::AddPieces(CorpusDocument document, const DocumentPieces& pieces,
                             const std::vector<uint32_t>& ids) {
  const auto number = static_cast<uint32_t>(documents_.size());
  for (uint32_t id : ids) {
    if (id >= tokenCounts_.size()) tokenCounts_.resize(id + 1 + id / 2, 0);
    ++tokenCounts_[id];
  }
  if (!WriteStream(ids.data(), ids.size())) return false;
  uint8_t head[5];
  uint8_t* const headEnd = head;
  uint64_t total = 0;
  // Each word's list is asked of the memory a few pieces before it is written to: first
  // its record, then, the record there, the end of its pieces.
  constexpr size_t kAhead = 8;
  const size_t n = pieces.size();
  uint32_t largest = 0;
  for (const auto& piece : pieces) largest = std::max(largest, piece.first);
  if (n > 0 && largest >= pending_.size()) pending_.resize(largest + 1);
  for (size_t k = 0; k < std::min(n, kAhead); ++k) __builtin_prefetch(&pending_[pieces[k].first]);
  for (size_t k = 0; k < n; ++k) {
    if (k + kAhead < n) __builtin_prefetch(&pending_[pieces[k + kAhead].first]);
    if (k + kAhead / 2 < n) {
      const std::string& later = pending_[pieces[k + kAhead / 2].first].pieces;
      __builtin_prefetch(later.data() + later.size(), 1);
    }
    const auto& [word, piece] = pieces[k];
    size_t at = 0;
    uint64_t count = 0;
    ReadVarint(piece, &at, &count);
    total += count;
    Pending& w = pending_[word];
    w.frequency += count;
    ++w.range;
    uint8_t* end = headEnd;
    PutVarint(end, number + 1 - w.last);
    w.last = number + 1;
    w.pieces.append(reinterpret_cast<const char*>(head), static_cast<size_t>(end - head));
    w.pieces.append(piece);
    pendingBytes_ += static_cast<size_t>(end - head) + piece.size();
  }
  document.words = static_cast<uint32_t>(total);
  document.tokens = static_cast<uint32_t>(ids.size());
  documents_.push_back(std::move(document));
  return pendingBytes_ < spillBytes_ || Spill();
}

bool CorpusWriter::Keep(CorpusDocument document, uint32_t number) {
  const CorpusDocument& old = base_->documents()[number];
  fromBase_[number] = static_cast<int64_t>(documents_.size());
  // Its tokens as they lie (their frequencies are the base's, less those of the documents
  // not kept: Finish works them out).
  if (streamWidth_ == base_->width()) {
    const std::string_view slice = base_->StreamBytes(old.firstToken, old.tokens);
    if (std::fwrite(slice.data(), 1, slice.size(), stream_) != slice.size()) {
      failed_ = true;
      problem_ = std::string("it cannot be written: ") + std::strerror(errno);
      return false;
    }
    tokens_ += old.tokens;
    streamBehind_.Wrote(stream_, kHeadSize + tokens_ * streamWidth_);
  } else {
    std::vector<uint32_t> ids(old.tokens);
    for (uint32_t i = 0; i < old.tokens; ++i) ids[i] = base_->TokenAt(old.firstToken + i);
    if (!WriteStream(ids.data(), ids.size())) return false;
    // WriteStream counted nothing: the counts come from the base.
  }
  document.words = old.words;
  document.tokens = old.tokens;
  document.textPack = old.textPack;
  document.textOffset = old.textOffset;
  documents_.push_back(std::move(document));
  return true;
}

bool CorpusWriter::Spill() {
  const std::string path = path_ + ".run" + std::to_string(spills_.size());
  std::FILE* run = std::fopen(path.c_str(), "wb");
  if (run == nullptr) {
    failed_ = true;
    problem_ = path + ": " + std::strerror(errno);
    return false;
  }
  spills_.push_back(path);
  ++spilled_;
  std::string entry;
  bool ok = true;
  for (size_t id = 0; id < pending_.size() && ok; ++id) {
    Pending& w = pending_[id];
    if (w.pieces.empty()) continue;
    entry.clear();
    AppendVarint(id, &entry);
    AppendVarint(w.last, &entry);
    AppendVarint(w.pieces.size(), &entry);
    ok = std::fwrite(entry.data(), 1, entry.size(), run) == entry.size() &&
         std::fwrite(w.pieces.data(), 1, w.pieces.size(), run) == w.pieces.size();
    std::string().swap(w.pieces);
    w.last = 0;
  }
  ok = std::fclose(run) == 0 && ok;
  pendingBytes_ = 0;
  if (!ok) {
    failed_ = true;
    problem_ = path + ": it cannot be written";
  }
  return ok;
}

bool CorpusWriter::Finish(std::string* problem, bool durable) {
  const auto fail = [&](const std::string& why) {
    *problem = why;
    return false;
  };
  if (failed_) return fail(path_ + ": " + problem_);
  // The head, then the stream in as few bytes a token as the largest id needs.
  uint32_t width = 1;
  while (width < 4 && spellingEnds_.size() > (uint64_t{1} << (8 * width))) ++width;
  std::string head(kCorpusMagic);
  AppendVarint(kCorpusVersion, &head);
  AppendVarint(rules_ == WordRuleSet::kUnicode ? 1 : 0, &head);
  AppendVarint(width, &head);
  streamStart_ = head.size();
  const bool direct = width == streamWidth_;
  if (direct) {  // the head goes in its room at the end
    if (std::fflush(stream_) != 0 || std::fseek(stream_, 0, SEEK_END) != 0)
      return fail(path_ + ": the token stream cannot be written");
    file_ = std::exchange(stream_, nullptr);
    filePath_ = path_ + ".stream";
    offset_ = kHeadSize + tokens_ * width;
    fileBehind_ = WriteBehind(offset_);
  } else {
    file_ = std::fopen(path_.c_str(), "wb");
    filePath_ = path_;
    if (file_ == nullptr) return fail(path_ + ": " + std::strerror(errno));
    if (!Write(head.data(), head.size())) return fail(path_ + ": " + problem_);
    if (std::fflush(stream_) != 0 || std::fseek(stream_, kHeadSize, SEEK_SET) != 0)
      return fail(path_ + ": the token stream cannot be read back");
    // Each id packed again in the new width.
    std::vector<char> in(size_t{1} << 20), packed(in.size());
    const size_t per = in.size() / streamWidth_;
    for (uint64_t left = tokens_; left > 0;) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(left, per));
      if (std::fread(in.data(), streamWidth_, n, stream_) != n)
        return fail(path_ + ": the token stream cannot be read back");
      for (size_t i = 0; i < n; ++i) {
        uint32_t id = 0;
        std::memcpy(&id, in.data() + i * streamWidth_, streamWidth_);
        std::memcpy(packed.data() + i * width, &id, width);
      }
      if (!Write(packed.data(), n * width)) return fail(path_ + ": " + problem_);
      left -= n;
    }
    std::fclose(std::exchange(stream_, nullptr));
    std::remove((path_ + ".stream").c_str());
  }
  const uint64_t postingsStart = offset_;
  std::vector<std::unique_ptr<RunReader>> runs;
  for (const std::string& spill : spills_) {
    runs.push_back(std::make_unique<RunReader>(spill));
    if (!runs.back()->ok()) return fail(spill + ": it cannot be read back");
    runs.back()->Advance();
  }
  struct Listed {
    uint32_t frequency = 0, range = 0;
    uint64_t at = 0, size = 0;
  };
  std::vector<Listed> listed(wordNames_.size());
  pending_.resize(wordNames_.size());
  // A word's list comes in segments, the runs' and the pieces still held, each as a
  // position list (its first document as its index + 1).
  struct Segment {
    std::string_view bytes;
    uint64_t last = 0;  // 1 + its last document
  };
  std::vector<Segment> segments;
  std::vector<Piece> fresh, kept;
  std::string out;
  for (size_t id = 0; id < wordNames_.size(); ++id) {
    segments.clear();
    for (auto& run : runs) {
      // The run's bytes stay until its next entry is read, after this word is written.
      if (run->valid() && run->id() == id) segments.push_back({run->bytes(), run->last()});
    }
    segments.push_back({pending_[id].pieces, pending_[id].last});
    Listed& l = listed[id];
    l.at = offset_ - postingsStart;
    if (base_ == nullptr || id >= base_->words().size()) {
      // The segments one after the other, each one's first distance made from the
      // segment before.
      uint64_t previous = 0;
      for (const Segment& segment : segments) {
        size_t at = 0;
        uint64_t first = 0;
        if (segment.bytes.empty() || !ReadVarint(segment.bytes, &at, &first)) continue;
        out.clear();
        AppendVarint(first - previous, &out);
        if (!Write(out.data(), out.size()) ||
            !Write(segment.bytes.data() + at, segment.bytes.size() - at))
          return fail(path_ + ": " + problem_);
        previous = segment.last;
      }
      l.frequency = static_cast<uint32_t>(pending_[id].frequency);
      l.range = pending_[id].range;
    } else {
      // The new documents' pieces, merged by document with the kept documents' pieces,
      // renumbered.
      fresh.clear();
      for (const Segment& segment : segments) {
        PieceReader pieces(segment.bytes);
        Piece piece;
        while (pieces.Next(&piece)) fresh.push_back(piece);
      }
      kept.clear();
      PieceReader pieces(base_->words()[id].postings);
      Piece piece;
      while (pieces.Next(&piece) && piece.document < fromBase_.size()) {
        if (fromBase_[piece.document] < 0) continue;
        piece.document = static_cast<uint64_t>(fromBase_[piece.document]);
        kept.push_back(piece);
      }
      out.clear();
      uint64_t last = 0;
      size_t a = 0, b = 0;
      while (a < kept.size() || b < fresh.size()) {
        const Piece& p =
            (b == fresh.size() || (a < kept.size() && kept[a].document < fresh[b].document))
                ? kept[a++]
                : fresh[b++];
        AppendVarint(l.range == 0 ? p.document + 1 : p.document - last, &out);
        AppendVarint(p.count, &out);
        AppendVarint(p.positions.size(), &out);
        out.append(p.positions);
        last = p.document;
        l.frequency += static_cast<uint32_t>(p.count);
        ++l.range;
      }
      if (!Write(out.data(), out.size())) return fail(path_ + ": " + problem_);
    }
    l.size = offset_ - postingsStart - l.at;
    for (auto& run : runs) {
      if (run->valid() && run->id() == id) run->Advance();
    }
    std::string().swap(pending_[id].pieces);
  }
  runs.clear();
  for (const std::string& spill : spills_) std::remove(spill.c_str());
  spills_.clear();

  const uint64_t tailStart = offset_;
  std::string tail;
  AppendVarint(documents_.size(), &tail);
  for (const CorpusDocument& d : documents_) {
    AppendString(d.path, &tail);
    AppendString(d.digest, &tail);
    AppendVarint(static_cast<uint64_t>(d.size), &tail);
    AppendVarint(static_cast<uint64_t>(d.modified), &tail);
    AppendVarint(d.words, &tail);
    AppendVarint(d.tokens, &tail);
    AppendVarint(d.textPack, &tail);
    AppendVarint(d.textOffset, &tail);
    AppendVarint(d.metadata.size(), &tail);
    for (const auto& [key, value] : d.metadata) {
      AppendString(key, &tail);
      AppendString(value, &tail);
    }
  }
  tokenCounts_.resize(spellingEnds_.size(), 0);
  if (base_ != nullptr) {
    // The kept documents' tokens: the base's frequencies, less the documents left out.
    for (size_t id = 0; id < base_->tokenTypes().size(); ++id)
      tokenCounts_[id] += base_->tokenTypes()[id].frequency;
    for (size_t d = 0; d < fromBase_.size(); ++d) {
      if (fromBase_[d] >= 0) continue;
      const CorpusDocument& old = base_->documents()[d];
      for (uint64_t t = 0; t < old.tokens; ++t) {
        const uint32_t id = base_->TokenAt(old.firstToken + t);
        if (id < tokenCounts_.size() && tokenCounts_[id] > 0) --tokenCounts_[id];
      }
    }
  }
  AppendVarint(spellingEnds_.size(), &tail);
  for (size_t id = 0; id < spellingEnds_.size(); ++id) {
    AppendString(Spelling(id), &tail);
    AppendVarint(tokenCounts_[id], &tail);
  }
  std::vector<uint32_t> order;
  for (size_t id = 0; id < wordNames_.size(); ++id) {
    if (listed[id].frequency > 0) order.push_back(static_cast<uint32_t>(id));
  }
  std::sort(order.begin(), order.end(),
            [this](uint32_t a, uint32_t b) { return wordNames_[a] < wordNames_[b]; });
  AppendVarint(order.size(), &tail);
  for (uint32_t id : order) {
    AppendString(wordNames_[id], &tail);
    AppendVarint(listed[id].frequency, &tail);
    AppendVarint(listed[id].range, &tail);
    AppendVarint(listed[id].at, &tail);
    AppendVarint(listed[id].size, &tail);
  }
  const uint64_t tailSize = tail.size();
  const uint64_t tokens = tokens_;
  AppendFixed64(streamStart_, &tail);
  AppendFixed64(tokens, &tail);
  AppendFixed64(postingsStart, &tail);
  AppendFixed64(tailStart, &tail);
  AppendFixed64(tailSize, &tail);
  tail += "end\n";
  if (!Write(tail.data(), tail.size())) return fail(path_ + ": " + problem_);
  if (direct && (std::fseek(file_, 0, SEEK_SET) != 0 ||
                 std::fwrite(head.data(), 1, head.size(), file_) != head.size()))
    return fail(path_ + ": it cannot be written: " + std::strerror(errno));
  std::FILE* file = std::exchange(file_, nullptr);
  const auto undone = [&](const std::string& why) {
    std::remove(filePath_.c_str());
    return fail(path_ + ": it cannot be written" + why);
  };
  if (std::fflush(file) != 0 || (durable && ::fsync(::fileno(file)) != 0)) {
    const std::string why = std::string(": ") + std::strerror(errno);
    std::fclose(file);
    return undone(why);
  }
  if (std::fclose(file) != 0) return undone("");
  if (direct && std::rename(filePath_.c_str(), path_.c_str()) != 0)
    return undone(std::string(": ") + std::strerror(errno));
  return true;
}

}  // namespace quillmoor
