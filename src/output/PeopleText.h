// The text of files written for people: the concordance and the search results.
//
// The program assembles them from two kinds of text, both with CR LF line ends: UTF-8
// (file names, captions) and engine text (Windows-1252: the words and context lines).
// They are written as UTF-8 with LF line ends, this platform's text convention, or,
// for exchange with Windows users, as Windows-1252 with CR LF line ends, in which a
// character of a UTF-8 piece that the code page lacks becomes "?". Engine text then
// passes byte for byte, so that form is exactly what a single-byte program writes.
// Engine text of the Unicode rules is UTF-8; in Windows-1252 form a character of it
// that the code page lacks becomes "?" too, and is counted.
#ifndef QUILLMOOR_OUTPUT_PEOPLETEXT_H_
#define QUILLMOOR_OUTPUT_PEOPLETEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "shared/FileSystem.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {

struct TextPiece {
  std::string_view text;
  bool engineText = false;  // Windows-1252; otherwise UTF-8
};

// Converts pieces one after the other; a CR LF split between two pieces (or two calls)
// still becomes one LF.
class PeopleTextEncoder {
 public:
  explicit PeopleTextEncoder(bool windowsText, WordRuleSet engineRules = WordRuleSet::kWindows1252)
      : windowsText_(windowsText), engineUtf8_(engineRules == WordRuleSet::kUnicode) {}
  // Appends the converted `piece` to *out.
  void Append(TextPiece piece, std::string* out);
  // Appends what is still held back (a CR at the very end).
  void Finish(std::string* out);
  // True when a piece of this kind is UTF-8 (cut only between characters).
  bool IsUtf8(const TextPiece& piece) const { return !piece.engineText || engineUtf8_; }
  // The characters of engine text written as "?" (Windows-1252 form of UTF-8 text).
  int64_t replaced() const { return replaced_; }

 private:
  bool windowsText_;
  bool engineUtf8_;
  bool pendingCR_ = false;
  int64_t replaced_ = 0;
};

// Converts `piece` a slice at a time into *buffer (used again for every slice) and
// writes each slice to `writer`; false with *error set when a write fails.
bool WritePeopleTextPiece(PeopleTextEncoder& encoder, TextPiece piece, FileWriter& writer,
                          std::string* buffer, FileError* error);

// The whole conversion of `pieces` at once.
std::string EncodePeopleText(const std::vector<TextPiece>& pieces, bool windowsText,
                             WordRuleSet engineRules = WordRuleSet::kWindows1252);

// Writes `pieces`, converted, to `path` completely or not at all (WriteFileAtomically),
// a slice at a time.
// *replaced (may be null) receives PeopleTextEncoder::replaced().
bool WritePeopleTextFile(const std::string& path, const std::vector<TextPiece>& pieces,
                         bool windowsText, FileError* error, bool durable,
                         WordRuleSet engineRules = WordRuleSet::kWindows1252,
                         int64_t* replaced = nullptr);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_PEOPLETEXT_H_
