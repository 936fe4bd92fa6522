// The text of files written for people: the concordance and the search results.
//
// The program assembles them from two kinds of text, both with CR LF line ends: UTF-8
// (file names, captions) and engine text (Windows-1252: the words and context lines).
// They are written as UTF-8 with LF line ends, this platform's text convention, or,
// for exchange with Windows users, as Windows-1252 with CR LF line ends, in which a
// character of a UTF-8 piece that the code page lacks becomes "?". Engine text then
// passes byte for byte, so that form is exactly what a single-byte program writes.
#ifndef QUILLMOOR_OUTPUT_PEOPLETEXT_H_
#define QUILLMOOR_OUTPUT_PEOPLETEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "shared/FileSystem.h"

namespace quillmoor {

struct TextPiece {
  std::string_view text;
  bool engineText = false;  // Windows-1252; otherwise UTF-8
};

// Converts pieces one after the other; a CR LF split between two pieces (or two calls)
// still becomes one LF.
class PeopleTextEncoder {
 public:
  explicit PeopleTextEncoder(bool windowsText) : windowsText_(windowsText) {}
  // Appends the converted `piece` to *out.
  void Append(TextPiece piece, std::string* out);
  // Appends what is still held back (a CR at the very end).
  void Finish(std::string* out);

 private:
  bool windowsText_;
  bool pendingCR_ = false;
};

// Converts `piece` a slice at a time into *buffer (used again for every slice) and
// writes each slice to `writer`; false with *error set when a write fails.
bool WritePeopleTextPiece(PeopleTextEncoder& encoder, TextPiece piece, FileWriter& writer,
                          std::string* buffer, FileError* error);

// The whole conversion of `pieces` at once.
std::string EncodePeopleText(const std::vector<TextPiece>& pieces, bool windowsText);

// Writes `pieces`, converted, to `path` completely or not at all (WriteFileAtomically),
// a slice at a time.
bool WritePeopleTextFile(const std::string& path, const std::vector<TextPiece>& pieces,
                         bool windowsText, FileError* error, bool durable);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_PEOPLETEXT_H_
