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

}  // namespace

bool MatchesPatternUtf8(std::string_view text, std::string_view pattern) {
  if (NextNonAscii(text, 0, text.size()) == text.size() &&
      NextNonAscii(pattern, 0, pattern.size()) == pattern.size()) {
    return MatchesPattern(text, pattern);
  }
  const std::vector<std::string_view> tu = Graphemes(text), pu = Graphemes(pattern);
  // The scan of MatchesPattern, a user-perceived character at a time.
  size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
  while (t < tu.size()) {
    if (p < pu.size() && pu[p] == "*") {
      starP = ++p;
      starT = t;
    } else if (p < pu.size() && MatchesOneUnit(tu[t], pu[p])) {
      ++t;
      ++p;
    } else if (starP != std::string_view::npos) {
      p = starP;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pu.size() && pu[p] == "*") ++p;
  return p == pu.size();
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
  // Greedy scan with one resume point: when a later "*" is reached, an earlier one
  // never needs to take more characters, because whatever the later one would have
  // to skip it can skip itself. So only the last "*" seen is ever retried, and each
  // retry moves the text on by one character.
  size_t t = 0, p = 0;
  size_t starP = std::string_view::npos;  // the pattern position after the last "*"
  size_t starT = 0;                       // the text position that "*" covers up to
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starT = t;
    } else if (p < pattern.size() && MatchesOne(text[t], pattern[p])) {
      ++t;
      ++p;
    } else if (starP != std::string_view::npos) {
      p = starP;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace quillmoor
