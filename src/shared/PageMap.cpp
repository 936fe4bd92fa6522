#include "shared/PageMap.h"

#include <algorithm>
#include <cstring>

namespace quillmoor {

int32_t PageMap::PageOf(int32_t position) const {
  if (starts.empty()) return 0;
  const auto after = std::upper_bound(starts.begin(), starts.end(), position);
  return numbers[after == starts.begin() ? 0 : static_cast<size_t>(after - starts.begin()) - 1];
}

std::string PageLabel(int32_t page) { return page > 0 ? "p. " + std::to_string(page) : ""; }

PageMap TakePageMarks(std::string& text, int32_t firstPage, const std::vector<int32_t>& markPages) {
  PageMap map;
  if (firstPage <= 0) return map;
  map.starts.push_back(1);
  map.numbers.push_back(firstPage);
  size_t next = 0;
  for (char* at = static_cast<char*>(std::memchr(text.data(), kPageMark, text.size()));
       at != nullptr;
       at = static_cast<char*>(std::memchr(at, kPageMark, text.size() - (at - text.data())))) {
    *at = '/';
    // The page begins after "/ ": at the next character's position, 1-based.
    map.starts.push_back(static_cast<int32_t>(at - text.data()) + 2);
    map.numbers.push_back(next < markPages.size() ? markPages[next] : map.numbers.back() + 1);
    ++next;
  }
  return map;
}

}  // namespace quillmoor
