// The word rules: which characters make a word, and the small string routines the
// scanner, the word table and the stop-word and keyword readers share.
//
// All text is Windows-1252, one character per byte. Positions are 1-based, and a
// "not found" position is 0, as the scanner counts them.
#ifndef QUILLMOOR_ENGINE_WORDRULES_H_
#define QUILLMOOR_ENGINE_WORDRULES_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "shared/Cp1252.h"

namespace quillmoor {

// The character sets, exactly as the scanner uses them (Windows-1252 bytes).
inline constexpr std::string_view kLowerCaseLetters =
    "abcdefghijklmnopqrstuvwxyz\x9A\x9C\xFF\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB"
    "\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xDF";
inline constexpr std::string_view kUpperCaseLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x8A\x8C\x9F\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB"
    "\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";
inline constexpr std::string_view kAllLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x8A\x8C\x9F\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB"
    "\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE"
    "abcdefghijklmnopqrstuvwxyz\x9A\x9C\xFF\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB"
    "\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xDF";
inline constexpr std::string_view kAccentedCapitals =
    "\x8A\x9F\xC0\xC1\xC2\xC3\xC4\xC5\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3"
    "\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD";
inline constexpr std::string_view kAccentedLowers =
    "\x9A\xFF\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3"
    "\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD";
inline constexpr std::string_view kVowels =
    "AEIOUaeiou\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD2\xD3\xD4\xD5"
    "\xD6\xD8\xD9\xDA\xDB\xDC\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
    "\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC";
inline constexpr std::string_view kContractionStems =
    "aren couldn didn doesn hadn hasn isn shouldn wasn weren wouldn ";

// True when `c` (a single character) is a letter of the case chosen (-1 lower case,
// 0 both, 1 upper case) or one of `extra`. A space never is.
bool IsAlphaChar(char c, int intCase, std::string_view extra);
// The number of consecutive accepted characters from `lngPos` on (0 if none).
int32_t WordLength(std::string_view text, int intCase, int32_t lngPos, std::string_view extra);
// The first position >= lngStart whose character is in `set`, or 0; `*indexInSet`
// receives the character's 1-based index in `set`.
int32_t FindFirstOf(std::string_view text, int32_t lngStart, std::string_view set,
                    int32_t* indexInSet = nullptr);
// The first position >= lngStart whose character is not in `set`; 0 if none or the
// text is empty; 1 if `set` is empty.
int32_t FindFirstNotOf(std::string_view text, int32_t lngStart, std::string_view set);
// FindFirstNotOf(text, lngStart, " "), inline: the scanner asks it after every run.
inline int32_t NextNonSpace(std::string_view text, int32_t lngStart) {
  for (size_t i = static_cast<size_t>(lngStart > 1 ? lngStart - 1 : 0); i < text.size(); ++i) {
    if (text[i] != ' ') return static_cast<int32_t>(i + 1);
  }
  return 0;
}

// IsAlphaChar(c, 0, "-0123456789"): a letter of either case, a digit or a hyphen. A
// table lookup, inline: the scanner asks it of every character.
extern const std::array<bool, 256> kWordStartChars;
inline bool IsWordStartChar(char c) { return kWordStartChars[static_cast<unsigned char>(c)]; }

// A letter of either case (a table lookup, inline).
extern const std::array<bool, 256> kLetterChars;
inline bool IsLetterChar(char c) { return kLetterChars[static_cast<unsigned char>(c)]; }
// IsVowel(c, true) of one character, inline.
extern const std::array<bool, 256> kAccentAwareVowels;
inline bool IsAccentAwareVowel(char c) { return kAccentAwareVowels[static_cast<unsigned char>(c)]; }

bool ContainsNoLetter(std::string_view s);
bool IsRepeatedChar(std::string_view s);
bool IsRomanNumeral(std::string_view s, bool blnSmallSet);
bool IsContractionStem(std::string_view s);
// The same for a text without spaces (a scanned word).
bool IsContractionStemOfWord(std::string_view s);
bool IsVowel(std::string_view c, bool blnAccentAware);

void RemoveChars(std::string& s, std::string_view set);
std::string TrimChars(std::string_view s, std::string_view set);

// Lower-cases Windows-1252 text (A-Z and every accented or other capital of the code
// page). `onAccentedCapital` runs after each of the 30 accented capitals found.
std::string LowerCaseAccented(std::string s, const std::function<void()>& onAccentedCapital = {});
inline char LowerCaseChar(char c) { return Cp1252LowerChar(c); }
inline char UpperCaseChar(char c) { return Cp1252UpperChar(c); }

// Removes characters with codes below 33 from both ends.
void TrimControlChars(std::string& s);
std::string_view TrimControlChars(std::string_view s);

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_WORDRULES_H_
