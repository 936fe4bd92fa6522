#include "output/Kwic.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "engine/WordRecord.h"
#include "output/KeywordSearch.h"
#include "shared/Cp1252.h"
#include "shared/Prefetch.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// 1-based VB-style helpers over a window.
char CharAt(std::string_view s, int32_t pos) {
  return (pos >= 1 && pos <= static_cast<int32_t>(s.size())) ? s[static_cast<size_t>(pos - 1)]
                                                             : '\0';
}

// Space search eight characters at a time: a byte of `x` is zero exactly where the
// window holds a space.
constexpr uint64_t kSpaces = 0x2020202020202020ull;

// The high bit of each byte of the result is set exactly where `at` holds a space.
uint64_t SpaceMask(const char* at) {
  constexpr uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
  uint64_t chunk;
  std::memcpy(&chunk, at, 8);
  const uint64_t x = chunk ^ kSpaces;
  return ~(((x & kLows) + kLows) | x | kLows);
}

// The spaces of a window one after the other, from a start position on (1-based
// positions; 0 when there are no more).
class SpaceCursor {
 public:
  explicit SpaceCursor(std::string_view w) : w_(w) {}
  void Seek(int32_t start) {
    base_ = static_cast<size_t>(std::max(start, 1) - 1);
    mask_ = MaskAt(base_);
  }
  int32_t Next() {
    while (mask_ == 0) {
      base_ += 8;
      if (base_ >= w_.size()) return 0;
      mask_ = MaskAt(base_);
    }
    const size_t byte = static_cast<size_t>(__builtin_ctzll(mask_)) / 8;
    mask_ &= mask_ - 1;
    return static_cast<int32_t>(base_ + byte + 1);
  }

 private:
  uint64_t MaskAt(size_t at) const {
    if (at + 8 <= w_.size()) return SpaceMask(w_.data() + at);
    uint64_t mask = 0;
    for (size_t i = at; i < w_.size(); ++i) {
      if (w_[i] == ' ') mask |= 0x80ull << ((i - at) * 8);
    }
    return mask;
  }
  std::string_view w_;
  size_t base_ = 0;
  uint64_t mask_ = 0;
};

// The position of the last space among the first `count` characters, or 0.
int32_t LastSpaceWithin(std::string_view s, int32_t count) {
  size_t end = std::min(static_cast<size_t>(std::max(count, 0)), s.size());
  while (end >= 8) {
    const uint64_t mask = SpaceMask(s.data() + end - 8);
    if (mask != 0) {
      return static_cast<int32_t>(end - 8 + static_cast<size_t>(63 - __builtin_clzll(mask)) / 8 +
                                  1);
    }
    end -= 8;
  }
  while (end-- > 0) {
    if (s[end] == ' ') return static_cast<int32_t>(end + 1);
  }
  return 0;
}

// The number of set bits (the portable instruction set has no popcount instruction,
// and the library's call costs more than this).
int BitCount(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// The spaces of a window and the spaces that end a counted word, as bitmaps (bit i
// of word i / 64 stands for the 0-based character i), for the cut's common case: the
// walks over the spaces become counts and selections of bits.
class WindowBits {
 public:
  static constexpr size_t kMaxChars = 8 * 64;  // context 9: windows of about 400

  // False when the window is too long for the bitmaps.
  bool Make(std::string_view w, bool showLineBreaks) {
    size_ = w.size();
    words_ = (size_ + 63) / 64;
    if (size_ > kMaxChars) return false;
    uint64_t slash[kMaxChars / 64];
#if defined(__SSE2__)
    const __m128i spaces = _mm_set1_epi8(' '), slashes = _mm_set1_epi8('/');
#endif
    // Each word of the bitmaps is assembled in registers, sixteen characters at a time
    // (the last characters one at a time).
    for (size_t k = 0; k < words_; ++k) {
      uint64_t spaceBits = 0, slashBits = 0;
      size_t i = k * 64;
      const size_t end = std::min(size_, i + 64);
#if defined(__SSE2__)
      for (; i + 16 <= end; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.data() + i));
        const auto mask = [&chunk](__m128i c) {
          return static_cast<uint64_t>(
              static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, c))));
        };
        spaceBits |= mask(spaces) << (i % 64);
        slashBits |= mask(slashes) << (i % 64);
      }
#endif
      for (; i < end; ++i) {
        spaceBits |= static_cast<uint64_t>(w[i] == ' ') << (i % 64);
        slashBits |= static_cast<uint64_t>(w[i] == '/') << (i % 64);
      }
      space_[k] = spaceBits;
      slash[k] = slashBits;
    }
    // A space counts on the left and for the keyword when no "/" follows it, on the
    // right when none precedes it (with line-break marks shown; otherwise always).
    for (size_t k = 0; k < words_; ++k) {
      const uint64_t slashAfter = (slash[k] >> 1) | (k + 1 < words_ ? slash[k + 1] << 63 : 0);
      const uint64_t slashBefore = (slash[k] << 1) | (k > 0 ? slash[k - 1] >> 63 : 0);
      countedLeft_[k] = showLineBreaks ? space_[k] & ~slashAfter : space_[k];
      countedRight_[k] = showLineBreaks ? space_[k] & ~slashBefore : space_[k];
    }
    return true;
  }

  // True when two spaces stand side by side among characters [0, end).
  bool AdjacentSpacesBefore(size_t end) const {
    for (size_t k = 0; k < words_ && k * 64 < end; ++k) {
      const uint64_t next = (space_[k] >> 1) | (k + 1 < words_ ? space_[k + 1] << 63 : 0);
      uint64_t pairs = space_[k] & next;  // bit i: spaces at i and i + 1
      if (end - k * 64 < 64) pairs &= (1ull << (end - k * 64)) - 1;
      if (pairs != 0) {
        const size_t first = k * 64 + static_cast<size_t>(__builtin_ctzll(pairs));
        if (first + 1 < end) return true;
      }
    }
    return false;
  }

  // The k-th (1-based) set bit of `bits` at or below `top`, going down; -1 when fewer.
  int64_t SelectDown(const uint64_t* bits, size_t top, int k) const {
    for (size_t word = top / 64 + 1; word-- > 0;) {
      uint64_t x = bits[word];
      if (word == top / 64 && top % 64 != 63) x &= (2ull << (top % 64)) - 1;
      const int n = BitCount(x);
      if (n < k) {
        k -= n;
        continue;
      }
      for (int i = 1; i < k; ++i) x &= ~(1ull << (63 - __builtin_clzll(x)));
      return static_cast<int64_t>(word * 64 + 63 - static_cast<size_t>(__builtin_clzll(x)));
    }
    return -1;
  }
  // The k-th (1-based) set bit of `bits` at or above `from`, going up; -1 when fewer.
  int64_t SelectUp(const uint64_t* bits, size_t from, int k) const {
    for (size_t word = from / 64; word < words_; ++word) {
      uint64_t x = bits[word];
      if (word == from / 64) x &= ~0ull << (from % 64);
      const int n = BitCount(x);
      if (n < k) {
        k -= n;
        continue;
      }
      for (int i = 1; i < k; ++i) x &= x - 1;
      return static_cast<int64_t>(word * 64 + static_cast<size_t>(__builtin_ctzll(x)));
    }
    return -1;
  }
  // The lowest space at or below `top`, and the highest space of the window; -1 if none.
  int64_t LowestSpaceUpTo(size_t top) const {
    const int64_t lowest = SelectUp(space_, 0, 1);
    return lowest >= 0 && static_cast<size_t>(lowest) <= top ? lowest : -1;
  }
  int64_t HighestSpace() const { return size_ == 0 ? -1 : SelectDown(space_, size_ - 1, 1); }

  const uint64_t* space() const { return space_; }
  const uint64_t* countedLeft() const { return countedLeft_; }
  const uint64_t* countedRight() const { return countedRight_; }

 private:
  size_t size_ = 0;
  size_t words_ = 0;
  uint64_t space_[kMaxChars / 64];
  uint64_t countedLeft_[kMaxChars / 64];
  uint64_t countedRight_[kMaxChars / 64];
};

// The cut of C4 to C6 on a window's bitmaps: the line's length in *length. False when
// the window is one the walks must go through step by step (too long, two spaces side
// by side on the left, or too few spaces on the right, where the count starts again
// from the first character).
bool CutByBits(std::string_view w, int32_t r, int C, bool showLineBreaks, size_t* start,
               size_t* length) {
  WindowBits bits;
  if (!bits.Make(w, showLineBreaks)) return false;
  // C4: the C-th counted space before the keyword (the walk visits every space of the
  // first r - 2 characters from the right, when no two stand side by side).
  if (r >= 3) {
    const size_t top = static_cast<size_t>(r - 3);
    if (bits.AdjacentSpacesBefore(top + 1)) return false;
    const int64_t s = bits.SelectDown(bits.countedLeft(), top, C);
    if (s >= 0) {
      r = static_cast<int32_t>(s) + 2;
    } else {
      const int64_t lowest = bits.LowestSpaceUpTo(top);
      if (lowest >= 0) r = static_cast<int32_t>(lowest) + 1;
    }
  }
  const size_t offset = r > 1 ? std::min(w.size(), static_cast<size_t>(r - 1)) : 0;
  // C5: the (C + 1)-th counted space from the new start.
  const int64_t q = bits.SelectUp(bits.countedLeft(), offset, C + 1);
  if (q < 0) return false;
  // C6: the C-th space after q that counts on the right; failing that, just past the
  // last space (or the character after q).
  int64_t t;  // 0-based end of the line in w, exclusive
  const int64_t s = bits.SelectUp(bits.countedRight(), static_cast<size_t>(q) + 1, C);
  if (s >= 0) {
    t = s;
  } else {
    const int64_t last = bits.HighestSpace();
    t = last > q ? last + 1 : q + 1;
  }
  *start = offset;
  *length = std::min(w.size() - offset,
                     static_cast<size_t>(std::max<int64_t>(t - static_cast<int64_t>(offset), 0)));
  return true;
}

std::string CountText(int32_t n) { return NumberText(n, true); }

}  // namespace

void BuildContextLine(std::string_view text, int32_t p, size_t wordLength, int C,
                      bool showLineBreaks, std::string* line, std::string* scratch, bool utf8) {
  const int32_t K = C * kCharsPerContextWord;
  // C2: the raw window and the reference index r.
  std::string_view w;
  int32_t r;
  if (utf8) {
    // The same window, counted in characters of UTF-8 text.
    size_t at = std::min(static_cast<size_t>(std::max(p, 1) - 1), text.size());
    while (at > 0 && at < text.size() && (Byte(text[at]) & 0xC0) == 0x80) --at;
    int32_t back = 0;
    const size_t from = Utf8Back(text, at, K, &back);
    if (back == K) {
      const size_t end = Utf8Forward(text, std::min(text.size(), at + wordLength), K);
      w = text.substr(from, end - from);
      r = static_cast<int32_t>(at - from);
    } else {
      w = text.substr(0, Utf8Forward(text, 0, 2 * K));
      r = static_cast<int32_t>(at) + 1;
    }
  } else if (p - K >= 1) {
    const size_t from = static_cast<size_t>(p - K - 1);
    if (from < text.size()) w = text.substr(from, wordLength + 2 * static_cast<size_t>(K));
    r = K;
  } else {
    w = text.substr(0, 2 * static_cast<size_t>(K));
    r = p;
  }
  // C3: line-break marks become one space each.
  if (!showLineBreaks && w.find(" / ") != std::string_view::npos) {
    scratch->assign(w);
    for (size_t f = scratch->find(" / "); f != std::string::npos; f = scratch->find(" / ")) {
      scratch->erase(f, 2);
      if (static_cast<int32_t>(f + 1) < r) r -= 2;
    }
    w = *scratch;
  }
  size_t start = 0, length = 0;
  if (CutByBits(w, r, C, showLineBreaks, &start, &length)) {
    line->assign(w.substr(start, length));
    return;
  }
  // C4: keep C words on the left.
  int32_t n = 0;
  while (r >= 3) {
    const int32_t s = LastSpaceWithin(w, r - 2);
    if (s == 0) break;
    if (CharAt(w, s + 1) != '/' || !showLineBreaks) {
      ++n;
      if (n == C) {
        r = s + 1;
        break;
      }
    }
    r = s;
  }
  if (r > 1) w.remove_prefix(std::min(w.size(), static_cast<size_t>(r - 1)));
  // C5: the space after the keyword (counting C + 1 spaces from the start; when the
  // spaces run out q is 0 and the count goes on from the first character).
  SpaceCursor spaces(w);
  spaces.Seek(1);
  n = 0;
  int32_t q = 0;
  bool countedThisPass = false;
  while (n <= C) {
    q = spaces.Next();
    if (q == 0) spaces.Seek(1);
    if (CharAt(w, q + 1) != '/' || !showLineBreaks) {
      ++n;
      countedThisPass = true;
    }
    if (q == 0) {
      // A whole pass over the window that counted nothing would repeat for ever.
      if (!countedThisPass) break;
      countedThisPass = false;
    }
  }
  // C6: keep C words on the right, from the character after q on.
  int32_t t = q + 1;
  if (q == 0) spaces.Seek(1);  // (after a restart the cursor already stands there)
  n = 0;
  while (true) {
    const int32_t s = spaces.Next();
    if (s == 0 || s == 1) break;
    if (CharAt(w, s - 1) != '/' || !showLineBreaks) {
      ++n;
      if (n == C) {
        t = s;
        break;
      }
    }
    t = s + 1;
  }
  line->assign(w.substr(0, std::min(w.size(), static_cast<size_t>(std::max(t - 1, 0)))));
}

std::string BuildContextLine(std::string_view text, int32_t position, size_t wordLength,
                             int contextSize, bool showLineBreaks) {
  std::string line, scratch;
  BuildContextLine(text, position, wordLength, contextSize, showLineBreaks, &line, &scratch);
  return line;
}

std::string_view ContextBase(std::string_view line) {
  // Most lines hold no "(" at all.
  if (line.size() < 3 || std::memchr(line.data(), '(', line.size()) == nullptr) return line;
  size_t mark = line.rfind(" (x");
  return mark == std::string_view::npos ? line : line.substr(0, mark);
}

namespace {
size_t HashOf(std::string_view s) { return static_cast<size_t>(WordIndex::Hash(s)); }
}  // namespace

void ContextLines::Clear() {
  used_ = 0;
  matches_.clear();
  filled_ = 0;
  if (++round_ == 0) {  // the round number wrapped: empty the table for real
    std::fill(table_.begin(), table_.end(), Entry{});
    round_ = 1;
  }
}

void ContextLines::Rehash(size_t capacity) {
  std::vector<Entry> old = std::move(table_);
  table_.assign(capacity, Entry{});
  filled_ = 0;
  for (const Entry& e : old) {
    if (e.round == round_ && e.slot >= 0) Index(e.hash, e.slot);
  }
}

void ContextLines::Index(size_t hash, int32_t slot) {
  if (table_.empty() || (filled_ + 1) * 2 > table_.size())
    Rehash(std::max<size_t>(64, table_.size() * 2));
  const size_t mask = table_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    if (table_[i].round != round_) {
      table_[i] = Entry{hash, slot, round_};
      ++filled_;
      return;
    }
  }
}

void ContextLines::Unindex(size_t hash, int32_t slot) {
  const size_t mask = table_.size() - 1;
  for (size_t i = hash & mask; table_[i].round == round_; i = (i + 1) & mask) {
    if (table_[i].slot == slot) {
      table_[i].slot = kRemoved;  // keeps the probe chains of later entries intact
      return;
    }
  }
}

std::vector<std::string> ContextLines::lines() const {
  return std::vector<std::string>(lines_.begin(), lines_.begin() + used_);
}

std::vector<int32_t> ContextLines::repeatCounts() const {
  return std::vector<int32_t>(repeats_.begin(), repeats_.begin() + used_);
}

void ContextLines::Merge(std::string_view line, bool showFrequencies) {
  const size_t hash = HashOf(line);
  matches_.clear();
  if (!table_.empty()) {
    const size_t mask = table_.size() - 1;
    for (size_t i = hash & mask; table_[i].round == round_; i = (i + 1) & mask) {
      const Entry& e = table_[i];
      if (e.slot < 0 || e.hash != hash) continue;
      const size_t k = static_cast<size_t>(e.slot);
      if (baseLengths_[k] == line.size() &&
          std::string_view(lines_[k]).substr(0, line.size()) == line) {
        matches_.push_back(e.slot);
      }
    }
  }
  if (matches_.empty()) {
    const int32_t k = used_++;
    if (lines_.size() < static_cast<size_t>(used_)) {
      lines_.emplace_back();
      repeats_.push_back(0);
      baseLengths_.push_back(0);
    }
    lines_[static_cast<size_t>(k)].assign(line);
    repeats_[static_cast<size_t>(k)] = 0;
    const std::string_view base = ContextBase(line);
    baseLengths_[static_cast<size_t>(k)] = base.size();
    Index(base.size() == line.size() ? hash : HashOf(base), k);
    return;
  }
  if (!showFrequencies) return;                 // a repeat is simply not stored again
  std::sort(matches_.begin(), matches_.end());  // every matching line, in slot order
  for (int32_t k : matches_) {
    std::string& slot = lines_[static_cast<size_t>(k)];
    int32_t& count = repeats_[static_cast<size_t>(k)];
    if (count == 0) {
      // The first mark makes the line's whole old text its base: for a line holding
      // " (x" of its own, the base changes.
      size_t& baseLength = baseLengths_[static_cast<size_t>(k)];
      const bool baseChanges = baseLength != slot.size();
      baseLength = slot.size();
      count = 1;
      slot += " (x2)";
      if (baseChanges) {
        Unindex(hash, k);
        Index(HashOf(std::string_view(slot).substr(0, baseLength)), k);
      }
    } else if (count < kMaxRepeatCount) {
      ++count;
      // The mark is the last "(x" of the line: " (x" follows the base.
      char digits[12];
      char* end = std::to_chars(digits, digits + sizeof digits - 1, count + 1).ptr;
      *end++ = ')';
      slot.resize(baseLengths_[static_cast<size_t>(k)] + 3);
      slot.append(digits, static_cast<size_t>(end - digits));
    }
  }
}

void KwicWriter::AppendEntry(const std::vector<WordRecord>& words, std::string_view text,
                             const KwicOptions& options, const KeywordSelection* search,
                             int32_t lngI, std::string& out) {
  const WordRecord& r = words[static_cast<size_t>(lngI)];
  const int32_t count = r.lngFrequency;
  if (options.contextSize == 0) {
    out += r.strWord;
    if (options.showFrequencies) out += CountText(count);
    out += kCrLf;
    return;
  }
  out += kCrLf;
  out += '[';
  out += r.strWord;
  if (options.showFrequencies) out += CountText(count);
  out += ']';
  out += kCrLf;
  lines_.Clear();
  const int32_t n = std::min(count, static_cast<int32_t>(r.positions.size()));
  // The occurrences lie anywhere in the text: the window of one a few lines ahead (the
  // cut reads all of it) is asked for while this one is cut.
  constexpr int32_t kAhead = 8;
  const size_t reach = static_cast<size_t>(options.contextSize) * kCharsPerContextWord + 1;
  const auto askFor = [&](int32_t i) {
    const size_t at = static_cast<size_t>(r.positions[static_cast<size_t>(i)]);
    const size_t last = std::min(text.size(), at + r.strWord.size() + reach);
    for (size_t from = at > reach ? at - reach : 0; from < last + 64; from += 64) {
      PrefetchLine(text.data() + std::min(from, last));
    }
  };
  for (int32_t i = 0; i < std::min(n, kAhead); ++i) askFor(i);
  for (int32_t i = 0; i < n; ++i) {
    if (i + kAhead < n) askFor(i + kAhead);
    BuildContextLine(text, r.positions[static_cast<size_t>(i)], r.strWord.size(),
                     options.contextSize, options.showLineBreaks, &line_, &scratch_, options.utf8);
    lines_.Merge(line_, options.showFrequencies);
  }
  if (search != nullptr) {
    search->AppendSelectedLines(r.strWord, lines_, out);
    return;
  }
  for (int32_t k = 0; k < lines_.size(); ++k) {
    out += "... ";
    out += lines_.line(k);
    out += kCrLf;
  }
}

// ---------------------------------------------------------------------------------
// EntryPipeline

EntryPipeline::EntryPipeline(const std::vector<WordRecord>& words, std::string_view text,
                             KwicOptions options, const KeywordSelection* search,
                             std::vector<int32_t> order, int workers)
    : words_(words),
      text_(text),
      options_(options),
      search_(search),
      order_(std::move(order)),
      entries_(order_.size()),
      ready_(order_.size(), 0) {
  for (int w = 0; w < workers; ++w) threads_.emplace_back([this] { Work(); });
}

EntryPipeline::~EntryPipeline() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
  }
  moreWanted_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void EntryPipeline::Work() {
  try {
    WorkChunks();
  } catch (...) {
    // Out of memory, say: the reader makes the entries that are missing itself.
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
    readyNow_.notify_all();
  }
}

void EntryPipeline::WorkChunks() {
  KwicWriter writer;
  while (true) {
    size_t begin;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      // Stay a bounded distance ahead of the reader.
      moreWanted_.wait(lock, [this] {
        return cancelled_ || next_ >= order_.size() || next_ < consumed_ + kLookahead;
      });
      if (cancelled_ || next_ >= order_.size()) return;
      begin = next_;
      next_ = std::min(order_.size(), next_ + kChunk);
    }
    const size_t end = std::min(order_.size(), begin + kChunk);
    for (size_t k = begin; k < end; ++k) {
      if (cancelled_) return;
      std::string entry;
      writer.AppendEntry(words_, text_, options_, search_, order_[k], entry);
      std::lock_guard<std::mutex> lock(mutex_);
      entries_[k] = std::move(entry);
      ready_[k] = 1;
    }
    readyNow_.notify_all();
  }
}

void EntryPipeline::Append(size_t k, std::string& out) {
  bool ready;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    readyNow_.wait(lock, [this, k] { return ready_[k] != 0 || failed_; });
    ready = ready_[k] != 0;
    consumed_ = k + 1;
  }
  moreWanted_.notify_all();
  if (!ready) {
    readerWriter_.AppendEntry(words_, text_, options_, search_, order_[k], out);
    return;
  }
  out += entries_[k];
  std::string().swap(entries_[k]);
}

}  // namespace quillmoor
