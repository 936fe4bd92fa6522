// The scan a query over a large stream spends its time in: the places where tokens of a
// few types stand at given distances from each other ("of" with "the" after it), in a
// stream of two-byte type ids; sixteen places tested at a time where the processor
// compares so many (SSE2), one at a time elsewhere.
//
// Contract: reads the tokens at start + offset for the starts in [from, end) and the
// offsets given only; visits what the literal loop over the starts visits, in the same
// order (tests compare the two on random streams).
#ifndef QUILLMOOR_QUERY_TYPESCAN_H_
#define QUILLMOOR_QUERY_TYPESCAN_H_

#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmoor {

// How many types a scan looks for at one distance, at most.
inline constexpr int kMostScanTypes = 8;

// Tokens of one of `types` (1 to kMostScanTypes of them), `offset` tokens from the start.
struct ScanItem {
  uint32_t offset = 0;
  std::vector<uint16_t> types;
};

// The literal test of one start.
inline bool HoldsAt(const char* stream, uint64_t start, const std::vector<ScanItem>& items) {
  for (const ScanItem& item : items) {
    uint16_t type;
    std::memcpy(&type, stream + (start + item.offset) * 2, 2);
    bool in = false;
    for (const uint16_t t : item.types) in = in || t == type;
    if (!in) return false;
  }
  return true;
}

// How many items a scan tests at most.
inline constexpr size_t kMostScanItems = 4;

// Calls visit(start) for each start in [from, end), in order, where every item holds (a
// token of its types `offset` tokens on), until a call returns false; `items` holds 1 to
// kMostScanItems items.
template <typename Visit>
void ForEachWhereTypesHold(const char* stream, uint64_t from, uint64_t end,
                           const std::vector<ScanItem>& items, Visit visit) {
  uint64_t at = from;
#if defined(__SSE2__)
  const size_t n = items.size();
  __m128i wanted[kMostScanItems][kMostScanTypes];
  size_t counts[kMostScanItems];
  for (size_t i = 0; i < n; ++i) {
    counts[i] = items[i].types.size();
    for (size_t k = 0; k < counts[i]; ++k)
      wanted[i][k] = _mm_set1_epi16(static_cast<int16_t>(items[i].types[k]));
  }
  for (; at + 16 <= end; at += 16) {
    __m128i allLow = _mm_set1_epi16(-1), allHigh = allLow;
    for (size_t i = 0; i < n; ++i) {
      const char* p = stream + (at + items[i].offset) * 2;
      const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
      __m128i inLow = _mm_cmpeq_epi16(low, wanted[i][0]);
      __m128i inHigh = _mm_cmpeq_epi16(high, wanted[i][0]);
      for (size_t k = 1; k < counts[i]; ++k) {
        inLow = _mm_or_si128(inLow, _mm_cmpeq_epi16(low, wanted[i][k]));
        inHigh = _mm_or_si128(inHigh, _mm_cmpeq_epi16(high, wanted[i][k]));
      }
      allLow = _mm_and_si128(allLow, inLow);
      allHigh = _mm_and_si128(allHigh, inHigh);
    }
    // (A lane of all ones packs to a byte of all ones: one bit a start.)
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(allLow, allHigh)));
         mask != 0; mask &= mask - 1) {
      if (!visit(at + static_cast<uint64_t>(__builtin_ctz(mask)))) return;
    }
  }
#endif
  for (; at < end; ++at) {
    if (HoldsAt(stream, at, items) && !visit(at)) return;
  }
}

}  // namespace quillmoor

#endif  // QUILLMOOR_QUERY_TYPESCAN_H_
