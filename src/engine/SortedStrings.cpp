#include "engine/SortedStrings.h"

#include <string_view>
#include <utility>

namespace quillmoor {
namespace {

std::string_view Tail(const std::string& s, int32_t col) {
  size_t from = static_cast<size_t>(col - 1);
  return from >= s.size() ? std::string_view() : std::string_view(s).substr(from);
}

}  // namespace

void QuickSortStrings(std::vector<std::string>& arr, int32_t lo, int32_t hi, int32_t col) {
  // Recursing into the smaller part and looping on the larger one sorts the same
  // disjoint ranges in the same way, with a stack depth of O(log n).
  while (lo < hi) {
    const std::string pivot(Tail(arr[lo + (hi - lo) / 2], col));
    int32_t i = lo, j = hi;
    while (i <= j) {
      while (i < hi && Tail(arr[i], col) > pivot) ++i;
      while (j > lo && Tail(arr[j], col) < pivot) --j;
      if (i <= j) {
        if (i < j) std::swap(arr[i], arr[j]);
        ++i;
        --j;
      }
    }
    if (j - lo < hi - i) {
      if (lo < j) QuickSortStrings(arr, lo, j, col);
      lo = i;
    } else {
      if (i < hi) QuickSortStrings(arr, i, hi, col);
      hi = j;
    }
  }
}

void SortStrings(std::vector<std::string>& arr, int16_t lo, int16_t hi, int32_t col) {
  if (lo >= hi) return;
  QuickSortStrings(arr, lo, hi, col);
  for (int32_t i = 0; lo + i < hi - i; ++i) std::swap(arr[lo + i], arr[hi - i]);
}

bool FindString(const std::string& key, const std::vector<std::string>& arr, int32_t n,
                int32_t* idx, int32_t col) {
  if (n == 0) {
    *idx = -1;
    return false;
  }
  const std::string_view k(key);
  if (k < Tail(arr[1], col)) {
    *idx = -1;
    return false;
  }
  if (k > Tail(arr[n], col)) {
    *idx = -(n + 1);
    return false;
  }
  if (n == 1) {
    *idx = 1;
    return true;
  }
  int32_t lo = 1, hi = n, mid = n / 2;
  while (true) {
    const std::string_view a = Tail(arr[mid], col);
    if (k == a) {
      *idx = mid;
      return true;
    }
    if (k > a) {
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
