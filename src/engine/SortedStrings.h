// Sorting and binary search of string lists (stop words, extra stop words, keywords).
//
// Comparison is binary (by character codes). Both can compare each element's tail from
// character `lngStartCol` on (1 = the whole string). Sorting is the program's
// quicksort, which leaves the range in descending order, followed by a reversal; equal
// elements end up next to each other.
#ifndef QUILLMOOR_ENGINE_SORTEDSTRINGS_H_
#define QUILLMOOR_ENGINE_SORTEDSTRINGS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace quillmoor {

// Sorts arr[intLow..intHigh] ascending. Bounds are 16-bit: a list can be sorted only up
// to index 32767.
void SortStrings(std::vector<std::string>& arr, int16_t intLow, int16_t intHigh,
                 int32_t lngStartCol = 1);
// The recursive step: leaves arr[intLow..intHigh] in descending order.
void QuickSortStrings(std::vector<std::string>& arr, int32_t intLow, int32_t intHigh,
                      int32_t lngStartCol = 1);
// Searches arr[1..lngCount] (sorted by SortStrings). True with *lngIndex = the index
// found; false with *lngIndex = minus the index at which key would be inserted.
bool FindString(const std::string& key, const std::vector<std::string>& arr, int32_t lngCount,
                int32_t* lngIndex, int32_t lngStartCol = 1);

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_SORTEDSTRINGS_H_
