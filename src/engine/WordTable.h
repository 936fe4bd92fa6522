// The word table: every distinct word of the document with its frequency and the
// positions of all its occurrences, then its order, the words listed, their counts
// and the chain in frequency order.
//
// The scan enters occurrences with AddWordToList; a hash index finds a word's entry and
// FinishWordTable puts the entries into the binary order of their words, the order a
// table kept sorted by insertion would have. SortWordTable then orders them by the
// accent-folded key, with the program's quicksort (so entries with equal keys end in
// the same order every time). MarkIncludedWords, CountIncludedWords and
// LinkWordsByFrequency prepare the listing.
#ifndef QUILLMOOR_ENGINE_WORDTABLE_H_
#define QUILLMOOR_ENGINE_WORDTABLE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/WordRecord.h"
#include "shared/WordRuleSet.h"
#include "shared/WorkObserver.h"

namespace quillmoor {

// The words of one document: arrWords[1..lngNumWords] (index 0 is never used), then
// the counts of the words listed. While a scan runs the entries are in order of first
// occurrence and wordIndex finds them; the scan ends by putting them in the binary
// order of strWord.
struct WordTable {
  std::vector<WordRecord> arrWords;
  WordIndex wordIndex;
  int32_t lngNumWords = 0;
  int32_t lngNumWordsIncluded = 0;
  int32_t lngNumOccurrences = 0;
  int32_t lngMaxFrequency = 0;
  int32_t lngFirstFreq = 0;                // the first listed word in frequency order (0: none)
  int16_t intMaxPermittedWordLength = 30;  // longer words are not entered
  // The rules the words were cut by: Windows-1252 words, or UTF-8 ones (whose lengths
  // the scanner has checked in characters).
  WordRuleSet wordRules = WordRuleSet::kWindows1252;
};

// "Müller" -> "Mueller", "café" -> "cafe": two-letter forms of Œ Ä Æ Ö Ü ä æ ö ü ß,
// then the accents dropped from the other accented letters.
std::string FoldAccents(std::string_view s);
// The alphabetical-order key of a word.
std::string SortKeyOf(std::string_view word);
// The same, and text in lower case, under the rules the text is for (UTF-8: the Unicode
// rules; else Windows-1252's).
std::string SortKeyIn(bool utf8, std::string_view word);
std::string LowerIn(bool utf8, std::string_view text);
// True for a non-empty text of digits (an optional leading sign, and commas, when
// allowed); spaces around it are ignored.
bool IsInteger(std::string_view s, bool blnAllowSign = false, bool blnAllowCommas = false);

// Empties the table for a new scan.
void StartWordTable(WordTable& t);
// Enters one occurrence of `word`, which ends before position lngLP, at lngLP - length
// of `word`. A new word with a hyphen also enters its parts (not the very first word of
// the table). `watch` hears of every tenth new word.
void AddWordToList(WordTable& t, std::string_view word, int32_t lngLP, WorkObserver& watch);
// The same, with WordIndex::Hash(word) given.
void AddWordToList(WordTable& t, std::string_view word, uint64_t hash, int32_t lngLP,
                   WorkObserver& watch);
// One more occurrence, at `position`, of the word of entry `index` (which the word
// index found).
void AddOccurrence(WordTable& t, int32_t index, int32_t position);
// Ends the scan: the entries take the binary order of their words.
void FinishWordTable(WordTable& t);

// Binary search of A[1..n] by strWord. True with *idx the index found; false with
// *idx = minus the index at which the key would be inserted.
bool FindWord(const std::string& key, const std::vector<WordRecord>& A, int32_t n, int32_t* idx);

// Sorts A[lo..hi] ascending by strSortKey (from character col on).
void SortWordTable(std::vector<WordRecord>& A, int32_t lo, int32_t hi, int32_t col = 1);
// The recursive step: leaves A[lo..hi] in descending key order.
void QuickSortWordTable(std::vector<WordRecord>& A, int32_t lo, int32_t hi, int32_t col = 1);

// The characters besides letters an extra stop word may hold: "0123456789" if
// numerals are allowed, then "-" if hyphens are.
std::string AllowedExtraWordChars(bool hyphens, bool numerals);
// False for a word with a hyphen when hyphens are not allowed, or with a digit when
// numerals are not.
bool IsWordAllowed(const std::string& word, bool hyphens, bool numerals);
// The counts of the listed words (blnIncluded): lngNumWordsIncluded, lngNumOccurrences,
// lngMaxFrequency.
void CountIncludedWords(WordTable& t);
// Ranks the listed words by frequency (ties in table order) and chains them from
// lngFirstFreq; lets `watch`'s events run as it goes.
void LinkWordsByFrequency(WordTable& t, WorkObserver& watch);

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_WORDTABLE_H_
