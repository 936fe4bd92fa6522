// One entry of the word table.
#ifndef QUILLMOOR_ENGINE_WORDRECORD_H_
#define QUILLMOOR_ENGINE_WORDRECORD_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillmoor {

struct WordRecord {
  std::string strWord;           // lower case, inner hyphens, no leading/trailing hyphen
  std::string strSortKey;        // LowerCaseAccented(FoldAccents(strWord))
  int32_t lngFrequency = 0;      // number of occurrences
  int32_t lngFreqRank = 0;       // place in frequency order (1 = first); 0 if not listed
  int32_t lngNextByFreq = 0;     // index of the next listed word by frequency; 0 at the end
  bool blnIncluded = false;      // the word is listed
  std::vector<int32_t> positions;  // 1-based positions in strLine, in scan order
};

// Hash of words for lookups by std::string_view without building a std::string.
struct WordHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using WordIndex = std::unordered_map<std::string, int32_t, WordHash, std::equal_to<>>;

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_WORDRECORD_H_
