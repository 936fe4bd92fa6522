#include "engine/SortedStrings.h"

#include "engine/KeyedSort.h"

namespace quillmoor {

void QuickSortStrings(std::vector<std::string>& arr, int32_t lo, int32_t hi, int32_t col) {
  QuickSortByKey(arr, lo, hi, [col](const std::string& s) { return KeyTail(s, col); });
}

void SortStrings(std::vector<std::string>& arr, int16_t lo, int16_t hi, int32_t col) {
  SortByKey(arr, lo, hi, [col](const std::string& s) { return KeyTail(s, col); });
}

bool FindString(const std::string& key, const std::vector<std::string>& arr, int32_t n,
                int32_t* idx, int32_t col) {
  return FindByKey(key, arr, n, idx, [col](const std::string& s) { return KeyTail(s, col); });
}

}  // namespace quillmoor
