#include "engine/WildcardMatch.h"

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

std::vector<std::string_view> Graphemes(std::string_view text) {
  std::vector<std::string_view> units;
  for (size_t i = 0; i < text.size();) {
    const size_t end = NextGraphemeEnd(text, i);
    units.push_back(text.substr(i, end - i));
    i = end;
  }
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
