// The Unicode word rules: the words of a text in any script (UTF-8 in Normalization
// Form C), their lower case and their default alphabetical-order key.
//
// A word is a run of letters (Unicode's letter and mark categories, any script),
// decimal digits and hyphens ("-", U+2010, U+2011) that holds a letter. A run is cut
// where it passes between a script written without spaces between words (Han,
// Hiragana, Katakana, Thai, Lao, Khmer, Myanmar) and any other: a piece in such a
// script is cut into words by a dictionary-based segmentation; any other piece is one
// word under the rules the Windows-1252 scanner applies (leading and trailing hyphens
// go, a plural "s" goes, the stems of negative contractions, single "s" and "t",
// repeated characters and Roman numerals are no words). Lengths count user-perceived
// characters (grapheme clusters): 3 to the table's maximum, the minimum not applying
// to the words of the dictionary scripts nor to words holding Hangul. doc/word-rules.md
// has the whole table.
//
// The words are in lower case: Unicode's one-for-one mapping, capital sigma as final
// sigma at a word's end, and with `turkish` the dotted and dotless i of Turkish.
#ifndef QUILLMOOR_ENGINE_UNICODEWORDS_H_
#define QUILLMOOR_ENGINE_UNICODEWORDS_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

struct UnicodeWordOptions {
  bool turkish = false;  // the document's language is Turkish
  int maxLength = 30;    // in user-perceived characters
};

enum class CharClass : uint8_t { kOther, kLetter, kDigit, kHyphen };
CharClass ClassOfCodePoint(uint32_t cp);
// Han, Hiragana, Katakana, Thai, Lao, Khmer or Myanmar (a letter of such a script).
bool IsDictionaryScript(uint32_t cp);
bool IsHangul(uint32_t cp);
// The lower case of one code point (with `turkish`, I is dotless ı and İ is i).
uint32_t LowerCodePoint(uint32_t cp, bool turkish);
// The user-perceived characters of a UTF-8 text.
int32_t GraphemeCount(std::string_view text);
// True when the first character of UTF-8 text with a strong direction is of a
// right-to-left script (Arabic, Hebrew, ...).
bool IsRightToLeft(std::string_view text);
// UTF-8 text in lower case, a code point at a time (one-for-one: the same number of
// characters).
std::string LowerUnicodeText(std::string_view text, bool turkish = false);

// Called for each word: its lower-case text and its position (1-based byte offset in
// the text, counted as the Windows-1252 scanner counts it: the end of the run less the
// word's length). Returns false to stop the scan.
using UnicodeWordSink = std::function<bool(std::string_view word, int32_t position)>;

// Finds the words of `text` in order.
class UnicodeWordScanner {
 public:
  explicit UnicodeWordScanner(UnicodeWordOptions options);
  ~UnicodeWordScanner();
  UnicodeWordScanner(const UnicodeWordScanner&) = delete;
  UnicodeWordScanner& operator=(const UnicodeWordScanner&) = delete;

  // Scans all of `text`; false when `sink` stopped it.
  bool Scan(std::string_view text, const UnicodeWordSink& sink);

 private:
  bool Piece(std::string_view text, size_t begin, size_t end, size_t runEnd,
             const UnicodeWordSink& sink);
  bool Segment(std::string_view text, size_t begin, size_t end, const UnicodeWordSink& sink);
  // What lower-casing a stretch into word_ found on the way.
  struct Lowered {
    bool letter = false;    // it holds a letter
    bool hangul = false;    // it holds Hangul
    bool sequence = false;  // it holds characters whose clusters ICU must count
    int32_t graphemes = 0;  // its user-perceived characters (unless `sequence`)
  };
  Lowered Lower(std::string_view text, size_t begin, size_t end);

  UnicodeWordOptions options_;
  std::string word_;
  void* breaker_ = nullptr;        // ICU's word break iterator, made when first needed
  std::u16string units_;           // a piece in UTF-16, for the break iterator
  std::vector<uint32_t> offsets_;  // the text offset of each of its units, and its end
};

// The default alphabetical-order key under the Unicode rules: a character Windows-1252
// has takes the Windows-1252 key (accents folded, lower case, code-page order); any
// other is decomposed, its marks dropped, and what is left keyed the same way, or by
// its code point after every Windows-1252 character. Keys compare as bytes.
std::string UnicodeSortKey(std::string_view word);

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_UNICODEWORDS_H_
