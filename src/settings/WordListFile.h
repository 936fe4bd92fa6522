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

// Splits text at spaces (runs of spaces count as one) into words.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace quillmoor

#endif  // QUILLMOOR_SETTINGS_WORDLISTFILE_H_
