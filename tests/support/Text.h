// Small text helpers the suites share.
#ifndef QUILLMOOR_TESTS_SUPPORT_TEXT_H_
#define QUILLMOOR_TESTS_SUPPORT_TEXT_H_

#include <string>
#include <vector>

namespace quillmoor::testing {

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The pieces of `list` between the separators: Pieces("a| |b") is {"a", " ", "b"}.
inline std::vector<std::string> Pieces(const std::string& list, char separator = '|') {
  std::vector<std::string> pieces;
  for (size_t start = 0;;) {
    const size_t end = list.find(separator, start);
    pieces.push_back(list.substr(start, end - start));
    if (end == std::string::npos) return pieces;
    start = end + 1;
  }
}

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_TEXT_H_
