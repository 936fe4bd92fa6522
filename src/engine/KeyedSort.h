// The program's quicksort and binary search over 1-based arrays, for any element type
// with a string key: the word table sorts by sort key and searches by word, the string
// lists by the strings themselves. Comparison is binary (by character codes).
//
// QuickSortByKey leaves A[lo..hi] in descending key order (entries with equal keys
// end in an order fixed by the algorithm); SortByKey then reverses the range.
// FindByKey searches A[1..n], sorted ascending.
#ifndef QUILLMOOR_ENGINE_KEYEDSORT_H_
#define QUILLMOOR_ENGINE_KEYEDSORT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmoor {

// The part of `s` from character `col` on (1 = all of it).
inline std::string_view KeyTail(const std::string& s, int32_t col) {
  const size_t from = static_cast<size_t>(col - 1);
  return from >= s.size() ? std::string_view() : std::string_view(s).substr(from);
}

template <typename T, typename KeyOf>
void QuickSortByKey(std::vector<T>& A, int32_t lo, int32_t hi, KeyOf keyOf) {
  // Recursing into the smaller part and looping on the larger one sorts the same
  // disjoint ranges in the same way, with a stack depth of O(log n).
  while (lo < hi) {
    const std::string pivot(keyOf(A[static_cast<size_t>(lo + (hi - lo) / 2)]));
    int32_t i = lo, j = hi;
    while (i <= j) {
      while (i < hi && keyOf(A[static_cast<size_t>(i)]) > pivot) ++i;
      while (j > lo && keyOf(A[static_cast<size_t>(j)]) < pivot) --j;
      if (i <= j) {
        if (i < j) std::swap(A[static_cast<size_t>(i)], A[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    }
    if (j - lo < hi - i) {
      if (lo < j) QuickSortByKey(A, lo, j, keyOf);
      lo = i;
    } else {
      if (i < hi) QuickSortByKey(A, i, hi, keyOf);
      hi = j;
    }
  }
}

template <typename T, typename KeyOf>
void SortByKey(std::vector<T>& A, int32_t lo, int32_t hi, KeyOf keyOf) {
  if (lo >= hi) return;
  QuickSortByKey(A, lo, hi, keyOf);
  for (int32_t i = 0; lo + i < hi - i; ++i) {
    std::swap(A[static_cast<size_t>(lo + i)], A[static_cast<size_t>(hi - i)]);
  }
}

// True with *idx the index found; false with *idx = minus the index at which the key
// would be inserted.
template <typename T, typename KeyOf>
bool FindByKey(std::string_view key, const std::vector<T>& A, int32_t n, int32_t* idx,
               KeyOf keyOf) {
  if (n == 0 || key < keyOf(A[1])) {
    *idx = -1;
    return false;
  }
  if (key > keyOf(A[static_cast<size_t>(n)])) {
    *idx = -(n + 1);
    return false;
  }
  if (n == 1) {
    *idx = 1;
    return true;
  }
  int32_t lo = 1, hi = n, mid = n / 2;
  while (true) {
    const std::string_view a = keyOf(A[static_cast<size_t>(mid)]);
    if (key == a) {
      *idx = mid;
      return true;
    }
    if (key > a) {
      if (mid == hi) {
        *idx = -(hi + 1);
        return false;
      }
      lo = mid + 1;
      mid = mid + (hi - mid + 1) / 2;
    } else {
      if (mid == lo) {
        *idx = -lo;
        return false;
      }
      hi = mid - 1;
      mid = mid - (mid - lo + 1) / 2;
    }
  }
}

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_KEYEDSORT_H_
