// UTF-8 text: the encoding of everything a person reads or the file system uses (file
// names, captions, box texts, messages, program texts, settings files).
//
// The engine's document text and word tables stay Windows-1252, one character per
// byte (shared/Cp1252.h); these helpers cross between the two and do the small jobs
// that need whole characters rather than bytes.
#ifndef QUILLMOOR_SHARED_UTF8_H_
#define QUILLMOOR_SHARED_UTF8_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmoor {

// The well-formed UTF-8 sequence that begins at text[i]: its length (1 to 4) with its
// code point in *cp, or 0 when the bytes there are not one. Overlong forms, surrogates
// (U+D800 to U+DFFF) and values above U+10FFFF are not well-formed.
size_t Utf8SequenceAt(std::string_view text, size_t i, uint32_t* cp);
// The same, the two-byte sequences (Latin beyond ASCII, Greek, Cyrillic, Hebrew,
// Arabic) decoded inline.
inline size_t Utf8SequenceAtInline(std::string_view text, size_t i, uint32_t* cp) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (b >= 0xC2 && b < 0xE0 && i + 1 < text.size() &&
      (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
    *cp = (static_cast<uint32_t>(b & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
    return 2;
  }
  return Utf8SequenceAt(text, i, cp);
}

// The offset of the first byte >= 0x80 in text[from, end), or `end` when there is none
// (eight bytes at a time).
size_t NextNonAscii(std::string_view text, size_t from, size_t end);

// True when the whole text is well-formed UTF-8 (ASCII text is).
bool IsValidUtf8(std::string_view text);

void AppendUtf8(uint32_t cp, std::string* out);

// The text of a file that may be UTF-8 or Windows-1252, as UTF-8: the bytes as they
// are when they are well-formed UTF-8, else each byte read as Windows-1252.
std::string TextAsUtf8(std::string_view bytes);

// UTF-8 text as Windows-1252: a character the code page lacks, and a byte that is not
// part of a well-formed sequence, becomes "?".
std::string Utf8ToCp1252Lossy(std::string_view text);

// The first character of UTF-8 text that Windows-1252 cannot hold (as its UTF-8
// bytes; a stray byte on its own), or "" when the code page holds every one.
std::string FirstCharOutsideCp1252(std::string_view text);

// The UTF-8 characters of a text, one at a time: each call gives the next one's bytes
// (a byte that is not part of a well-formed sequence on its own), "" at the end.
class Utf8Chars {
 public:
  explicit Utf8Chars(std::string_view text) : text_(text) {}
  std::string_view Next();

 private:
  std::string_view text_;
  size_t at_ = 0;
};

// Lower case for comparing names without regard to case: the capitals of ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic become small letters; every other
// character (and every byte that is not well-formed UTF-8) stays as it is.
std::string Utf8Lower(std::string_view text);

// The largest length <= maxBytes at which `text` can be cut without splitting a
// well-formed character.
size_t Utf8CutPoint(std::string_view text, size_t maxBytes);
// The characters of a UTF-8 text (its bytes that do not continue a sequence).
size_t Utf8Length(std::string_view text);
// The columns a character takes on a terminal, roughly, from its first byte alone: two
// for a character of three or four bytes from U+3000 on (the wide East Asian scripts,
// Hangul, the CJK extensions), one for any other; none for a byte that continues a
// character.
inline int Utf8Columns(char first) {
  const auto b = static_cast<unsigned char>(first);
  return (b & 0xC0) == 0x80 ? 0 : b >= 0xE3 ? 2 : 1;
}
// Counting columns so, sixteen bytes at a time: the offset `columns` columns on from
// offset `i` (the start of the next character after them, or the end; a wide
// character that would pass the count is taken whole); and the offset `columns`
// columns back from `at` (a character's start), or 0, with *stepped the columns
// stepped over.
size_t Utf8Forward(std::string_view text, size_t i, int32_t columns);
size_t Utf8Back(std::string_view text, size_t at, int32_t columns, int32_t* stepped);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_UTF8_H_
