#include "engine/WordRules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstring>

#include "shared/Cp1252.h"

namespace quillmoor {

namespace {

using ByteTable = std::array<bool, 256>;

constexpr ByteTable MakeSet(std::string_view chars) {
  ByteTable t{};
  for (char c : chars) t[static_cast<unsigned char>(c)] = true;
  return t;
}

constexpr ByteTable kIsLower = MakeSet(kLowerCaseLetters);
constexpr ByteTable kIsUpper = MakeSet(kUpperCaseLetters);
constexpr ByteTable kIsLetter = MakeSet(kAllLetters);
constexpr ByteTable kIsAccentedCapital = MakeSet(kAccentedCapitals);
constexpr ByteTable kIsRomanLetter = MakeSet("IVXLCDM");

// Membership of a character in a short set.
bool InSet(char c, std::string_view set) {
  for (char x : set) {
    if (x == c) return true;
  }
  return false;
}

bool IsLetter(char c) { return kIsLetter[static_cast<unsigned char>(c)]; }

}  // namespace

bool IsAlphaChar(char c, int intCase, std::string_view extra) {
  if (c == ' ') return false;
  if (intCase <= 0 && kIsLower[Byte(c)]) return true;
  if (intCase >= 0 && kIsUpper[Byte(c)]) return true;
  return InSet(c, extra);
}

int32_t WordLength(std::string_view text, int intCase, int32_t lngPos, std::string_view extra) {
  int32_t n = 0;
  for (size_t i = static_cast<size_t>(lngPos - 1); i < text.size(); ++i) {
    if (!IsAlphaChar(text[i], intCase, extra)) break;
    ++n;
  }
  return n;
}

int32_t FindFirstOf(std::string_view text, int32_t lngStart, std::string_view set,
                    int32_t* indexInSet) {
  if (text.empty() || set.empty()) return 0;
  for (size_t i = static_cast<size_t>(std::max(lngStart, 1) - 1); i < text.size(); ++i) {
    size_t k = set.find(text[i]);
    if (k != std::string_view::npos) {
      if (indexInSet) *indexInSet = static_cast<int32_t>(k + 1);
      return static_cast<int32_t>(i + 1);
    }
  }
  return 0;
}

int32_t FindFirstNotOf(std::string_view text, int32_t lngStart, std::string_view set) {
  if (text.empty()) return 0;
  if (set.empty()) return 1;
  const size_t from = static_cast<size_t>(std::max(lngStart, 1) - 1);
  if (set.size() == 1) {  // the scanner's case: one plain loop
    for (size_t i = from; i < text.size(); ++i) {
      if (text[i] != set[0]) return static_cast<int32_t>(i + 1);
    }
    return 0;
  }
  size_t found = text.find_first_not_of(set, from);
  return found == std::string_view::npos ? 0 : static_cast<int32_t>(found + 1);
}

bool ContainsNoLetter(std::string_view s) {
  for (char c : s) {
    if (IsLetter(c)) return false;
  }
  return true;
}

namespace {
std::string_view TrimmedOfSpaces(std::string_view s) {
  if (s.empty() || (s.front() != ' ' && s.back() != ' ')) return s;  // a scanned word
  size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}
}  // namespace

// Removing every occurrence of the first character leaves nothing exactly when all
// characters are that one.
bool IsRepeatedChar(std::string_view s) {
  std::string_view t = TrimmedOfSpaces(s);
  if (t.empty()) return false;
  for (char c : t) {
    if (c != t[0]) return false;
  }
  return true;
}

bool IsRomanNumeral(std::string_view s, bool blnSmallSet) {
  std::string_view t = TrimmedOfSpaces(s);
  // Removing the numeral letters leaves nothing exactly when every character is one.
  for (char c : t) {
    const char u = UpperCaseChar(c);
    if (blnSmallSet ? !(u == 'I' || u == 'V' || u == 'X') : !kIsRomanLetter[Byte(u)]) return false;
  }
  if (blnSmallSet) return true;
  char upper[8];
  if (t.size() <= sizeof upper) {
    for (size_t i = 0; i < t.size(); ++i) upper[i] = UpperCaseChar(t[i]);
    const std::string_view u(upper, t.size());
    static constexpr std::string_view kNotNumerals[] = {"DIM",   "MID",   "VIM",   "CID", "LID",
                                                        "LIVID", "VIVID", "CIVIL", "DILL"};
    for (std::string_view word : kNotNumerals) {
      if (u == word) return false;
    }
  }
  return true;
}

// "s followed by a space" occurs in the stem list exactly when s is a tail of a stem
// (or empty: the list has spaces).
bool IsContractionStem(std::string_view s) {
  if (s.find(' ') != std::string_view::npos) {
    return kContractionStems.find(LowerCaseAccented(std::string(s)) + " ") !=
           std::string_view::npos;
  }
  return IsContractionStemOfWord(s);
}

bool IsContractionStemOfWord(std::string_view s) {
  // Every stem ends in "n" and none is longer than "shouldn".
  if (!s.empty() && (s.size() > 7 || LowerCaseChar(s.back()) != 'n')) return false;
  char lower[8];
  for (size_t i = 0; i < s.size(); ++i) lower[i] = LowerCaseChar(s[i]);
  const std::string_view l(lower, s.size());
  static constexpr std::string_view kStems[] = {"aren", "couldn",  "didn", "doesn", "hadn",  "hasn",
                                                "isn",  "shouldn", "wasn", "weren", "wouldn"};
  for (std::string_view stem : kStems) {
    if (stem.ends_with(l)) return true;
  }
  return false;
}

bool IsVowel(std::string_view c, bool blnAccentAware) {
  if (c.empty()) return false;
  if (blnAccentAware) {
    return IsAccentAwareVowel(c[0]);
  }
  return InSet(c[0], kVowels);
}

void RemoveChars(std::string& s, std::string_view set) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (!InSet(c, set)) out.push_back(c);
  }
  s = std::move(out);
}

std::string TrimChars(std::string_view s, std::string_view set) {
  size_t first = 0;
  while (first < s.size() && InSet(s[first], set)) ++first;
  size_t last = s.size();
  while (last > first && InSet(s[last - 1], set)) --last;
  return std::string(s.substr(first, last - first));
}

std::string LowerCaseAccented(std::string s, const std::function<void()>& onAccentedCapital) {
  // Cp1252LowerChar as a table: a whole document goes through it.
  static const std::array<char, 256> kLower = [] {
    std::array<char, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = Cp1252LowerChar(static_cast<char>(i));
    return t;
  }();
  // Sixteen characters at a time where all are ASCII (only A-Z change there); the
  // others through the table, with the call after each accented capital.
  const size_t n = s.size();
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i beforeA = _mm_set1_epi8('A' - 1), afterZ = _mm_set1_epi8('Z' + 1),
                caseBit = _mm_set1_epi8(0x20);
#endif
  while (i < n) {
#if defined(__SSE2__)
    if (i + 16 <= n) {
      __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
      if (_mm_movemask_epi8(chunk) == 0) {
        const __m128i capital =
            _mm_and_si128(_mm_cmpgt_epi8(chunk, beforeA), _mm_cmplt_epi8(chunk, afterZ));
        chunk = _mm_or_si128(chunk, _mm_and_si128(capital, caseBit));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(s.data() + i), chunk);
        i += 16;
        continue;
      }
    }
#endif
    const size_t end = std::min(n, i + 16);
    for (; i < end; ++i) {
      const unsigned char b = Byte(s[i]);
      s[i] = kLower[b];
      if (kIsAccentedCapital[b] && onAccentedCapital) onAccentedCapital();
    }
  }
  return s;
}

constexpr ByteTable kLetterChars = MakeSet(kAllLetters);
// The lower-case forms of the vowels (as LowerCaseAccented makes them).
constexpr ByteTable kAccentAwareVowels = [] {
  ByteTable t{};
  for (char c : kVowels)
    t[static_cast<unsigned char>(kCp1252Case.lower[static_cast<unsigned char>(c)])] = true;
  return t;
}();

constexpr ByteTable kWordStartChars = [] {
  ByteTable t = MakeSet(kAllLetters);
  for (char d : std::string_view("-0123456789")) t[static_cast<unsigned char>(d)] = true;
  return t;
}();

std::string_view TrimControlChars(std::string_view s) {
  while (!s.empty() && Byte(s.front()) < 33) s.remove_prefix(1);
  while (!s.empty() && Byte(s.back()) < 33) s.remove_suffix(1);
  return s;
}

void TrimControlChars(std::string& s) {
  const std::string_view kept = TrimControlChars(std::string_view(s));
  if (kept.size() != s.size()) s = std::string(kept);
}

}  // namespace quillmoor
