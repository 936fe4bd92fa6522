#include "engine/WildcardMatch.h"

namespace quillmoor {
namespace {

bool MatchesOne(char t, char p) {
  if (p == '?') return true;
  if (p == '#') return t >= '0' && t <= '9';
  return t == p;
}

}  // namespace

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
