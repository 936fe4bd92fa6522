// The word-list file format of stop-word and keyword files.
//
// Each line is trimmed of characters with codes up to 32. Blank lines are skipped.
// Comments are whole lines: a line that begins with "/*" and ends with "*/" is
// skipped; a line that begins with "/*" opens a comment block; a line that ends with
// "*/" closes it (also when none is open); the lines inside a block are skipped. Every
// other line holds words separated by spaces.
#ifndef QUILLMOOR_SETTINGS_WORDLISTFILE_H_
#define QUILLMOOR_SETTINGS_WORDLISTFILE_H_

#include <cstdint>
#include <string>
#include <vector>

namespace quillmoor {

struct Program;

// Reads the kept lines of `path` into lines[firstIndex...] (the array ends with one
// spare empty entry). With blnFixUTF8 each kept line first goes through
// ConvertUTF8Latin1. A file error ends the reading with its number and description;
// the lines read so far stay. Pending events run every 256 lines; a stop request
// (p.blnStop) ends the reading early.
void ReadWordListFile(Program& p, const std::string& path, std::vector<std::string>& lines,
                      int32_t firstIndex, bool blnFixUTF8, int32_t& lngLineCount,
                      std::string& strErrorDescription, int32_t& lngErrorNumber);

// Files larger than this turn the main button into "Stop" while they are read.
inline constexpr long long kStopButtonFileBytes = 20480;

// What a reader of word files names in its messages.
struct WordFileKind {
  std::string what;           // "stop words" or "search words"
  int32_t missingText = 0;    // program text of "... file does not exist."
  int32_t readingText = 0;    // program text of the status line while reading
};

// The reading that the stop-word and keyword readers share. `name` (lower case) is
// opened as ResolveLowerCasedPath finds it. A missing file, a file CheckTextFile
// refuses, a binary file (NUL bytes), a read error and a stop request (files over
// 20480 bytes turn the main button into "Stop" meanwhile) each end it with false
// after their message. Otherwise *words holds the words of the kept lines, split at
// spaces and lower-cased, in file order.
bool ReadWordsOfFile(Program& p, const std::string& name, const WordFileKind& kind,
                     std::vector<std::string>* words);

// Splits text at spaces (runs of spaces count as one) into words.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace quillmoor

#endif  // QUILLMOOR_SETTINGS_WORDLISTFILE_H_
