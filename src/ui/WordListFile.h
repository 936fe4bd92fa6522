// The word-list file format of stop-word and keyword files.
//
// Each line is trimmed of characters with codes up to 32. Blank lines are skipped.
// Comments are whole lines: a line that begins with "/*" and ends with "*/" is
// skipped; a line that begins with "/*" opens a comment block; a line that ends with
// "*/" closes it (also when none is open); the lines inside a block are skipped. Every
// other line holds words separated by spaces.
#ifndef QUILLMOOR_UI_WORDLISTFILE_H_
#define QUILLMOOR_UI_WORDLISTFILE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/WordRuleSet.h"

namespace quillmoor {

struct Program;

// Reads `path` (as bytes) and hands each kept line to `onLine`, in file order, the view
// valid during the call; lngLineCount counts them. A line ends at CR LF, CR or LF. A
// file error ends the reading with its number and description (the lines handed over
// stay handed over). Pending events run every 256 lines; a stop request (p.blnStop)
// ends the reading early.
void ReadWordListFile(const Program& p, const std::string& path,
                      const std::function<void(std::string_view)>& onLine, int32_t& lngLineCount,
                      std::string& strErrorDescription, int32_t& lngErrorNumber);

// Files larger than this turn the main button into "Stop" while they are read.
inline constexpr long long kStopButtonFileBytes = 20480;

// What a reader of word files names in its messages.
struct WordFileKind {
  std::string what;         // "stop words" or "search words"
  int32_t missingText = 0;  // program text of "... file does not exist."
  int32_t readingText = 0;  // program text of the status line while reading
};

// The words of a word-list file.
struct WordsOfFile {
  std::vector<std::string> words;    // engine text of `rules`, lower-cased, in file order
  std::vector<std::string> dropped;  // as the file has them (UTF-8): words left out
  // Windows-1252, or UTF-8 (NFC) for a UTF-8 file with words Windows-1252 cannot hold
  // (unless the Windows-1252 rules were asked for: such words are left out then).
  WordRuleSet rules = WordRuleSet::kWindows1252;
};

// The reading that the stop-word and keyword readers share. `name` (lower case) is
// opened as ResolveLowerCasedPath finds it. A missing file, a file CheckTextFile
// refuses, a binary file (NUL bytes), a read error and a stop request (files over
// 20480 bytes turn the main button into "Stop" meanwhile) each end it with false
// after their message. Otherwise out->words holds the words of the kept lines, split
// at spaces and lower-cased, in file order. A file that is valid UTF-8 (and not only
// ASCII) is decoded as a document is; a word holding a character Windows-1252 lacks
// goes to out->dropped instead. Any other file is read as Windows-1252.
bool ReadWordsOfFile(Program& p, const std::string& name, const WordFileKind& kind,
                     WordsOfFile* out);

// "" when nothing was dropped, else the line that says so for a load message: "3 words
// of the file were left out (<why>): a, b, c" (the first five shown).
std::string DroppedWordsNote(const std::vector<std::string>& dropped, std::string_view why);

// Splits text at spaces (runs of spaces count as one) into words.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_WORDLISTFILE_H_
