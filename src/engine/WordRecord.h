// One entry of the word table.
#ifndef QUILLMOOR_ENGINE_WORDRECORD_H_
#define QUILLMOOR_ENGINE_WORDRECORD_H_

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "shared/Prefetch.h"

namespace quillmoor {

struct WordRecord {
  std::string strWord;             // lower case, inner hyphens, no leading/trailing hyphen
  std::string strSortKey;          // LowerCaseAccented(FoldAccents(strWord))
  int32_t lngFrequency = 0;        // number of occurrences
  int32_t lngFreqRank = 0;         // place in frequency order (1 = first); 0 if not listed
  int32_t lngNextByFreq = 0;       // index of the next listed word by frequency; 0 at the end
  bool blnIncluded = false;        // the word is listed
  std::vector<int32_t> positions;  // 1-based positions in strLine, in scan order
};

// The index of the word table during a scan: finds a word's entry by its text. An
// open-addressing table of (hash, entry index); the words themselves stay in the
// table's records.
class WordIndex {
 public:
  // The index of the entry of `word` in `records`, or 0 when there is none. `hash` is
  // Hash(word), when the caller has it already.
  int32_t Find(std::string_view word, const std::vector<WordRecord>& records) const {
    return Find(word, Hash(word), records);
  }
  int32_t Find(std::string_view word, uint64_t hash, const std::vector<WordRecord>& records) const;
  // Records that records[index] holds `word` (which must not be indexed yet).
  void Insert(std::string_view word, int32_t index) { Insert(word, Hash(word), index); }
  void Insert(std::string_view word, uint64_t hash, int32_t index);
  // Asks for the slot a word of this hash is looked up from, ahead of the lookup.
  void Prefetch(uint64_t hash) const {
    if (!slots_.empty()) PrefetchLine(&slots_[hash & (slots_.size() - 1)]);
  }
  void Clear();

  // Eight bytes at a time, multiplied and folded (words are short); the last bytes by
  // loads that may overlap, never one at a time.
  static uint64_t Hash(std::string_view word) {
    const char* data = word.data();
    const size_t size = word.size();
    const auto load = [](const char* at, auto type) {
      decltype(type) v;
      std::memcpy(&v, at, sizeof v);
      return static_cast<uint64_t>(v);
    };
    uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
    uint64_t tail = 0;
    if (size >= 8) {
      size_t i = 0;
      for (; i + 8 <= size; i += 8) {
        h = (h ^ load(data + i, uint64_t{})) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
      }
      if (i < size) tail = load(data + size - 8, uint64_t{});  // the last eight, some again
    } else if (size >= 4) {
      tail = load(data, uint32_t{}) | load(data + size - 4, uint32_t{}) << 32;
    } else if (size > 0) {
      tail = load(data, uint8_t{}) | load(data + size / 2, uint8_t{}) << 8 |
             load(data + size - 1, uint8_t{}) << 16;
    }
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 29);
  }

 private:
  // A word of up to kInlineBytes characters is compared in its slot, without reading
  // its record.
  static constexpr size_t kInlineBytes = 12;
  struct Slot {
    uint64_t hash = 0;
    int32_t index = 0;  // 0 = empty
    uint32_t length = 0;
    char key[kInlineBytes] = {};
  };
  void Grow();
  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_WORDRECORD_H_
