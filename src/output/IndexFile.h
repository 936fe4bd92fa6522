// The index file: the whole word table of a document, saved beside it so that a later
// run can list or search the same document without scanning it.
//
// Name: the input's name up to and including its last "." (of the whole path), then
// "oxn.ndx"; a name without "." gets ".oxn.ndx". book.txt -> book.oxn.ndx.
//
// Text (Windows-1252, CR LF after every line), stored gzip-compressed:
//   1  the MD5 digest of the input file (32 upper-case hex digits, or empty)
//   2  the date of writing, yyyy-mm-dd hh:mm
//   3  lngNumWords        as a number line: " " + decimal + " "
//   4  intPositionDigits  as a number line
//   5  lngFirstFreq       as a number line
//   then one line per word record in table order:
//      word*lngFreqRank*lngFrequency*lngNextByFreq*positions
//   where positions is every occurrence's position, zero-padded to the width of
//   line 4, one after the other. No terminator line.
//
// An index whose digest no longer matches its input is deleted, and so is one whose
// body is damaged (both with the "Bad index file" notice). A read error is silent;
// either way the next run scans the document.
#ifndef QUILLMOOR_OUTPUT_INDEXFILE_H_
#define QUILLMOOR_OUTPUT_INDEXFILE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/WordRecord.h"
#include "shared/FileSystem.h"

namespace quillmoor {

struct Program;

// The index file name of the input `input` ("" for "").
std::string IndexFileNameFor(const std::string& input);
// Trims the input box (writing it back) and derives p.strIndexFile from it; an empty
// box empties it and clears blnIndexFileCurrent.
void SetIndexFileName(Program& p);
// `name` followed by the smallest number 1, 2, 3 ... under which nothing exists (no
// file, folder or link).
std::string UniqueFileName(const std::string& name);
// Deletes the file when it exists (the attribute flags have no meaning here).
bool DeleteFile(const std::string& name, bool clearHidden = true, bool clearReadOnly = true,
                bool clearSystem = true);
// " 1234 ": a number as a number line holds it (without the line end).
std::string NumberLine(int64_t value);

// The word table an index file's text holds, parsed.
struct IndexContents {
  int32_t lngNumWords = 0;
  int16_t intPositionDigits = 0;
  int32_t lngFirstFreq = 0;
  std::vector<WordRecord> words;  // [0] unused
};

// Writes the index text of p's word table to `out` (uncompressed). False with *error
// set on a write error.
bool WriteIndexText(const Program& p, const std::string& digest, const std::string& date,
                    FileWriter& out, FileError* error);

// Parses the index text from line 3 on (the counts and the word lines) into `out`;
// `nextLine` gives the next line without its line end, or false at the end. The word
// count may claim at most `maxWords` records (the caller knows how much text there
// is). False on any content the writer would not have written: a count out of range,
// fewer or more word lines than the count, a field missing or not a number, a
// positions string of the wrong length, a link outside the table or a frequency chain
// that runs in a circle, a word that is empty, longer than `maxWordLength`, holds a
// control character, comes twice or stands out of alphabetical order.
bool ParseIndexBody(const std::function<bool(std::string&)>& nextLine, int64_t maxWords,
                    int maxWordLength, IndexContents* out);

// After a concordance run with "and index file" checked: writes the index file of the
// input. A failure is silent (p.indexError says why) and leaves any earlier index
// file as it was.
void WriteIndexFile(Program& p);
// Offers the index file of the input and, on Yes, restores the word table from it.
void ReadIndexFile(Program& p);
// After an input was chosen and at start-up: reads the input's index file when there
// is one, and then the document, so that a run lists or searches at once.
// `withText` false: the word table alone, without reading the document (for a word
// list, which needs no context; the positions are then not checked against the text).
void LoadIndexIfPresent(Program& p, bool withText = true);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_INDEXFILE_H_
