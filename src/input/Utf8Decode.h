// The document decoder: UTF-8 in a document becomes the single-byte Windows-1252 text
// the word rules work on, in one pass over the bytes.
//
// Each well-formed UTF-8 sequence becomes:
//   - nothing, for the C1 controls U+0080 to U+009F;
//   - "c", for U+010D (c with caron);
//   - the ASCII of the typographic punctuation: U+2010 to U+2013 "-", U+2014 " -- ",
//     U+2015 "--", U+2016 "|", U+2017 the byte 89, U+2018 to U+201B "'", U+201C to
//     U+201F a double quote, U+2022 " . ", U+2026 "...", U+2039 "<", U+203A ">";
//   - otherwise its Windows-1252 byte where the code page has the character (all of
//     Latin-1, and the euro sign, S, Z and OE with their small forms, Y diaeresis, the
//     low quotes, daggers, per mille, the single angle quotes, modifier circumflex and
//     tilde, trade mark, f with hook);
//   - otherwise one "?", which is no letter and so never part of a word.
// A byte that is not part of a well-formed sequence stays as it is, so Windows-1252
// text passes unchanged unless it happens to hold well-formed UTF-8. A byte order mark
// at the very start of the text is dropped.
#ifndef QUILLMOOR_INPUT_UTF8DECODE_H_
#define QUILLMOOR_INPUT_UTF8DECODE_H_

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shared/Utf8.h"

namespace quillmoor {

class Host;

// What a decoding met that the code page lacks (each now a "?").
struct DecodeReport {
  static constexpr size_t kMaxExamples = 5;
  int64_t unmapped = 0;               // how many such characters
  std::vector<std::string> examples;  // the first few different ones, in UTF-8

  void Note(std::string_view utf8Char);
  void Clear() { *this = DecodeReport{}; }
};

// The walk both document decoders make: `text` copied, ASCII as it is, and each
// other character handed to `decode(sequence, cp, &out)` (`sequence` its bytes; a
// byte that begins no well-formed sequence alone, with `cp` 0). With `atTextStart` a
// byte order mark at the start goes. ASCII text comes back as it is.
template <typename Decode>
std::string DecodeNonAscii(std::string text, bool atTextStart, Decode decode) {
  const size_t n = text.size();
  size_t i = NextNonAscii(text, 0, n);
  if (i == n) return text;
  std::string out;
  out.reserve(n + n / 8 + 16);
  out.append(text, 0, i);
  if (atTextStart && text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
  while (i < n) {
    const size_t ascii = NextNonAscii(text, i, n);
    out.append(text, i, ascii - i);
    i = ascii;
    if (i >= n) break;
    uint32_t cp = 0;
    const size_t len = std::max<size_t>(1, Utf8SequenceAt(text, i, &cp));
    decode(std::string_view(text).substr(i, len), cp, &out);
    i += len;
  }
  return out;
}

// Decodes `text` as described above. With `atTextStart` a byte order mark at its
// start is dropped. `report` (may be null) counts what the code page lacks.
std::string DecodeUtf8Text(std::string text, DecodeReport* report, bool atTextStart = true);

// What one pass over a text finds of its UTF-8 (a byte order mark at its start aside).
struct Utf8Survey {
  int64_t sequences = 0;  // well-formed sequences beyond ASCII
  int64_t strays = 0;     // bytes that begin no well-formed sequence
  bool beyond = false;    // DecodeUtf8Text would meet a character the code page lacks
  bool controls = false;  // it holds a C1 control (U+0080 to U+009F)
  // The text is UTF-8 (its sequences at least as many as its strays) and read under
  // the Windows-1252 rules it would lose characters. A text in a legacy code page is
  // no UTF-8 and is read as Windows-1252.
  bool CallsForUnicodeRules() const { return beyond && sequences >= strays; }
};
Utf8Survey SurveyUtf8(std::string_view text);
inline bool CallsForUnicodeRules(std::string_view text) {
  return SurveyUtf8(text).CallsForUnicodeRules();
}

// "3 characters of the document are not in ..." with the first few shown: the notice
// a person gets once after a document was read. "" when the report holds none.
std::string UnmappedCharactersNotice(const DecodeReport& report);

// Shows that notice in a message box, when there is one.
void TellUnmappedCharacters(Host& host, const DecodeReport& report);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_UTF8DECODE_H_
