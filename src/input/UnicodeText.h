// Documents as Unicode: the encodings a document may come in, and the text the Unicode
// word rules read (UTF-8 in Normalization Form C). ICU does the conversions.
#ifndef QUILLMOOR_INPUT_UNICODETEXT_H_
#define QUILLMOOR_INPUT_UNICODETEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

// The text read as Unicode: each well-formed UTF-8 sequence stays (the C1 controls
// U+0080 to U+009F go, and with `atTextStart` a byte order mark at the start), any
// other byte is read as Windows-1252; then the text is put in Normalization Form C, so
// that a decomposed "é" and a composed one are the same characters.
// With `clean` the caller knows the text to be well-formed UTF-8 without C1 controls
// or a byte order mark at its start: only the normal form is made.
std::string DecodeUnicodeText(std::string text, bool atTextStart = true, bool clean = false);

// Normalization Form C of well-formed UTF-8, in place (text already in it is only
// checked).
void NormalizeToNfc(std::string& text);

// The encodings a person can name: the ones the windows list, in that order.
const std::vector<std::string>& NamedEncodings();
// True when `name` is an encoding the converter knows ("ISO-8859-2", "KOI8-R",
// "Shift_JIS", "windows-1250", aliases too).
bool IsKnownEncoding(const std::string& name);
// True for the names that mean the reading every document gets without a name.
bool IsUtf8Name(const std::string& name);
bool IsWindows1252Name(const std::string& name);

// `bytes` in the named encoding, as UTF-8 (a byte order mark of the encoding, if
// any, dropped). A byte sequence the encoding has no character for becomes U+FFFD.
// False with *problem set when the encoding is unknown or the text too large.
bool ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::string* out,
                   std::string* problem);

// The byte order mark's encoding at the start of `bytes` ("UTF-8", "UTF-16LE",
// "UTF-16BE"), or "".
std::string_view ByteOrderMarkEncoding(std::string_view bytes);

// The code page a charset detector takes Windows-1252 text for, when it says so with
// a confidence of at least `minConfidence` (of 100) and it is not Windows-1252 or
// Latin-1 or ASCII; "" otherwise.
std::string LikelyOtherCodePage(std::string_view bytes, int minConfidence = 30);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_UNICODETEXT_H_
