#include "engine/Collation.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>

#include "shared/WordRuleSet.h"

namespace quillmoor {
namespace {

struct CollatorCloser {
  void operator()(UCollator* c) const { ucol_close(c); }
};

}  // namespace

const std::vector<std::string>& SortLanguages() {
  static const std::vector<std::string> kCodes = {
      "ar", "bg", "ca", "cs", "da", "de", "el", "en", "es", "et", "fi", "fr", "he",
      "hi", "hr", "hu", "is", "it", "ja", "ko", "lt", "lv", "nb", "nl", "pl", "pt",
      "ro", "ru", "sk", "sl", "sr", "sv", "th", "tr", "uk", "vi", "zh"};
  return kCodes;
}

bool IsSortLanguage(std::string_view code) {
  const std::vector<std::string>& codes = SortLanguages();
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool ApplySortLanguage(WordTable& t, const std::string& language, std::string* problem) {
  UErrorCode error = U_ZERO_ERROR;
  std::unique_ptr<UCollator, CollatorCloser> collator(ucol_open(language.c_str(), &error));
  if (U_FAILURE(error) || collator == nullptr) {
    *problem = "the alphabetical order of '" + language + "' is not available";
    return false;
  }
  std::vector<UChar> units;
  std::vector<uint8_t> key;
  std::string utf8;
  for (int32_t i = 1; i <= t.lngNumWords; ++i) {
    WordRecord& r = t.arrWords[static_cast<size_t>(i)];
    utf8 = EngineTextAsUtf8(t.wordRules, r.strWord);
    int32_t length = 0;
    units.resize(utf8.size() + 1);
    error = U_ZERO_ERROR;
    u_strFromUTF8WithSub(units.data(), static_cast<int32_t>(units.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &error);
    if (U_FAILURE(error)) continue;  // (a word is well-formed UTF-8 and fits)
    key.resize(std::max<size_t>(key.size(), 64));
    int32_t size = ucol_getSortKey(collator.get(), units.data(), length, key.data(),
                                   static_cast<int32_t>(key.size()));
    if (size > static_cast<int32_t>(key.size())) {
      key.resize(static_cast<size_t>(size));
      size = ucol_getSortKey(collator.get(), units.data(), length, key.data(), size);
    }
    // The key without its closing zero byte: keys compare as bytes.
    r.strSortKey.assign(reinterpret_cast<const char*>(key.data()),
                        static_cast<size_t>(std::max(size - 1, 0)));
  }
  return true;
}

}  // namespace quillmoor
