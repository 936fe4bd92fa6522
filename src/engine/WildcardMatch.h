// Wildcard patterns of the keyword search, on byte strings.
//
// "*" matches any run of characters, including none; "?" any one character; "#" any
// one digit 0-9. Every other character matches only itself (by character code, so
// both sides should already be lower case). The whole text must match the whole
// pattern.
//
// The match runs in O(text x pattern) time at worst: a pattern such as
// "*a*a*a*a*a*b" against a long text never backtracks exponentially.
#ifndef QUILLMOOR_ENGINE_WILDCARDMATCH_H_
#define QUILLMOOR_ENGINE_WILDCARDMATCH_H_

#include <string_view>

namespace quillmoor {

bool MatchesPattern(std::string_view text, std::string_view pattern);
// The same on UTF-8 text: "?" is one user-perceived character, "#" one decimal digit
// of any script.
bool MatchesPatternUtf8(std::string_view text, std::string_view pattern);
// MatchesPatternUtf8 or MatchesPattern, as the text is UTF-8 or not.
inline bool MatchesPatternIn(bool utf8, std::string_view text, std::string_view pattern) {
  return utf8 ? MatchesPatternUtf8(text, pattern) : MatchesPattern(text, pattern);
}

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_WILDCARDMATCH_H_
