// Literal transcriptions of the program's slow loops, kept only to check the fast
// implementations against them on many inputs.
#ifndef QUILLMOOR_TESTS_SUPPORT_REFERENCE_H_
#define QUILLMOOR_TESTS_SUPPORT_REFERENCE_H_

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "query/Evaluate.h"

namespace quillmoor::reference {

// The document decoder one code point at a time: every well-formed sequence looked up
// in the punctuation list and then in the code page's 256 characters. Each character
// that neither has is added to *unmapped (may be null). With `atTextStart` a byte order
// mark at the start is dropped.
std::string DecodeUtf8Text(const std::string& text, std::vector<std::string>* unmapped,
                           bool atTextStart = true);
std::string DecodeCharacterEntities(std::string text);

// The word table as the program keeps it during a scan: an array sorted by word, a
// binary search per occurrence and an insertion (a shift of all later entries) per
// new word; then the ranking that scans the table once per frequency value and the
// linking that searches the table once per listed word.
struct LiteralWord {
  std::string word;
  int32_t frequency = 0;
  std::vector<int32_t> positions;
  bool included = true;
  int32_t freqRank = 0;
  int32_t nextByFreq = 0;
};
class LiteralWordTable {
 public:
  // Enters `word` at scan position lngLP (the position after its run).
  void AddWordToList(const std::string& word, int32_t lngLP);
  // Ranks and links the included entries; returns the first index by frequency.
  int32_t LinkWordsByFrequency();
  std::vector<LiteralWord> A{LiteralWord{}};  // index 0 unused
  int32_t n = 0;
};

// The context-line merge as the program does it: every kept line's base (its text
// before the last " (x") is computed anew and compared with the new line.
struct LiteralContextLines {
  std::vector<std::string> lines;
  std::vector<int32_t> repeats;
  void Merge(const std::string& line, bool showFrequencies);
};

// The context line of an occurrence, cut and trimmed step by step with plain
// searches, as the program describes it.
// The document text made ready for the scan, step by step: tabs become spaces, every
// run of spaces one space (the digits of a position counted then), control characters
// and blanks trimmed from both ends, one space added at each end.
std::string NormalizeDocumentText(std::string text, int16_t* positionDigits);
std::string CollapseSpaces(std::string s);

std::string BuildContextLine(const std::string& text, int32_t p, size_t wordLength, int C,
                             bool showLineBreaks);

// A random string of `length` bytes drawn from `alphabet`.
std::string RandomBytes(std::mt19937& rng, const std::vector<std::string>& alphabet, size_t pieces);

// The pattern-match operator with "*", "?" and "#", as the classic recursive
// definition states it (exponential on patterns with many "*").
bool Like(const std::string& text, const std::string& pattern);
// The same on UTF-8 text, a user-perceived character (ICU's) at a time.
bool LikeUtf8(const std::string& text, const std::string& pattern);

// The text runs of a document's XML as the program finds them: every search starts
// afresh from the current position (InStr), the replacements and the UTF-8 fix-ups
// applied to each run. Without the stop request and the progress display.
std::vector<std::string> DocxRuns(const std::string& xml);

// The words of UTF-8 text (Normalization Form C) under the Unicode rules, the rules
// applied a code point at a time and each question asked of ICU directly.
std::vector<std::string> UnicodeWords(const std::string& utf8, bool turkish);

// A query's matches over a stream of tokens (their spellings, Windows-1252, and lines),
// read as the query language defines them: from each place of a range in turn, every
// token matched by the pattern itself (wildcards by Like, on lower case), a token
// pattern's steps tried every way by backtracking, the longest match taken and the next
// looked for after it; a proximity's pairs compared all against all; the alternatives'
// matches merged. Matches as (first token, length).
std::vector<std::pair<uint64_t, uint32_t>> QueryMatches(
    const Query& query, const QueryOptions& options, const std::vector<std::string>& spellings,
    const std::vector<int32_t>& lines, const std::vector<std::pair<uint64_t, uint64_t>>& ranges);

}  // namespace quillmoor::reference

#endif  // QUILLMOOR_TESTS_SUPPORT_REFERENCE_H_
