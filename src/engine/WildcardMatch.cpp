#include "engine/WildcardMatch.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <vector>

#include "engine/UnicodeWords.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

bool MatchesOne(char t, char p) {
  if (p == '?') return true;
  if (p == '#') return t >= '0' && t <= '9';
  return t == p;
}

bool MatchesOneUnit(std::string_view t, std::string_view p) {
  if (p == "?") return true;
  if (p == "#") {
    uint32_t cp = 0;
    return (t.size() == 1 && t[0] >= '0' && t[0] <= '9') ||
           (Utf8SequenceAt(t, 0, &cp) == t.size() && ClassOfCodePoint(cp) == CharClass::kDigit);
  }
  return t == p;
}

// The user-perceived characters of UTF-8 text, as ICU's character break iterator
// finds them.
std::vector<std::string_view> Graphemes(std::string_view text) {
  std::vector<std::string_view> units;
  UErrorCode error = U_ZERO_ERROR;
  UText* ut = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &error);
  UBreakIterator* bi = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &error);
  ubrk_setUText(bi, ut, &error);
  if (U_SUCCESS(error)) {
    for (int32_t from = ubrk_first(bi), to = ubrk_next(bi); to != UBRK_DONE;
         from = to, to = ubrk_next(bi)) {
      units.push_back(text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
    }
  }
  ubrk_close(bi);
  utext_close(ut);
  return units;
}

// The match over sequences of units (bytes, or user-perceived characters): a greedy
// scan with one resume point. When a later "*" is reached, an earlier one never needs
// to take more units, because whatever the later one would have to skip it can skip
// itself. So only the last "*" seen is ever retried, and each retry moves the text on
// by one unit.
template <typename Units, typename IsStar, typename One>
bool MatchUnits(const Units& text, const Units& pattern, IsStar isStar, One one) {
  size_t t = 0, p = 0;
  size_t starP = std::string_view::npos;  // the pattern position after the last "*"
  size_t starT = 0;                       // the text position that "*" covers up to
  while (t < text.size()) {
    if (p < pattern.size() && isStar(pattern[p])) {
      starP = ++p;
      starT = t;
    } else if (p < pattern.size() && one(text[t], pattern[p])) {
      ++t;
      ++p;
    } else if (starP != std::string_view::npos) {
      p = starP;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && isStar(pattern[p])) ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  return MatchUnits(
      text, pattern, [](char c) { return c == '*'; }, MatchesOne);
}

bool MatchesPatternUtf8(std::string_view text, std::string_view pattern) {
  if (NextNonAscii(text, 0, text.size()) == text.size() &&
      NextNonAscii(pattern, 0, pattern.size()) == pattern.size()) {
    return MatchesPattern(text, pattern);
  }
  return MatchUnits(
      Graphemes(text), Graphemes(pattern), [](std::string_view u) { return u == "*"; },
      MatchesOneUnit);
}

}  // namespace quillmoor
