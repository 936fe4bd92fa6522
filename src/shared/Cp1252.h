// Windows-1252 text: the character set of the engine's document text and word tables.
//
// The document text, the word table and the stop-word and keyword tables are
// std::strings of Windows-1252 bytes, one character per byte (the word rules,
// positions and sort keys depend on it); everything a person reads is UTF-8
// (shared/Utf8.h). These helpers convert between the two and do the small byte-level
// jobs the rest of the program needs. Positions in the VB-style helpers (InStr, Mid)
// are 1-based, as the program's algorithms count them.
#ifndef QUILLMOOR_SHARED_CP1252_H_
#define QUILLMOOR_SHARED_CP1252_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmoor {

// The line break of messages and of the files the program writes.
inline constexpr std::string_view kCrLf = "\r\n";

// The code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined (81, 8D, 8F, 90, 9D) stand for the code points of the same value.
uint32_t Cp1252CodePoint(unsigned char b);
// The Windows-1252 byte of a code point; false when the code page has none.
bool Cp1252ByteOf(uint32_t cp, unsigned char* b);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (81, 8D, 8F,
// 90, 9D) map to the code points of the same value.
std::string Cp1252ToUtf8(std::string_view text);
// The same, appended to *out.
void AppendCp1252AsUtf8(std::string_view text, std::string* out);

// UTF-8 to Windows-1252. Returns false (and leaves *out partly filled) when the text
// is not valid UTF-8 or holds a character the code page cannot represent.
bool Utf8ToCp1252(std::string_view text, std::string* out);

// The code page's own case mapping: A-Z and every accented or other capital
// (S caron, OE, Z caron, Y diaeresis, C0 to DE but the multiplication sign).
struct Cp1252CaseTables {
  std::array<char, 256> lower{};
  std::array<char, 256> upper{};
  constexpr Cp1252CaseTables() {
    for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<char>(i);
    auto pair = [this](int up, int low) {
      lower[up] = static_cast<char>(low);
      upper[low] = static_cast<char>(up);
    };
    for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
    pair(0x8A, 0x9A);  // S caron
    pair(0x8C, 0x9C);  // OE
    pair(0x8E, 0x9E);  // Z caron
    pair(0x9F, 0xFF);  // Y diaeresis
    for (int c = 0xC0; c <= 0xDE; ++c) {
      if (c != 0xD7) pair(c, c + 32);
    }
  }
};
inline constexpr Cp1252CaseTables kCp1252Case;

inline char Cp1252LowerChar(char ch) { return kCp1252Case.lower[static_cast<unsigned char>(ch)]; }
inline char Cp1252UpperChar(char ch) { return kCp1252Case.upper[static_cast<unsigned char>(ch)]; }
std::string Cp1252Lower(std::string_view text);

// ASCII-only case mapping, byte for byte (accented letters are left alone).
std::string AsciiLower(std::string_view text);
char AsciiLowerChar(char ch);

// Removes spaces (only spaces) from both ends, like the toolkit's Trim.
std::string TrimSpaces(std::string_view text);

// 1-based search: the position of the first `needle` at or after `start`, or 0.
size_t InStr(size_t start, std::string_view haystack, std::string_view needle);

// Every occurrence of `from` replaced by `to`, left to right, non-overlapping, in one
// pass (the replaced text is not searched again).
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// "-5" style decimal text of a whole number, with a leading space for values >= 0 when
// `leadingSpace` is set (the way the program's Str() conversion writes numbers).
std::string NumberText(long long value, bool leadingSpace = false);

inline unsigned char Byte(char ch) { return static_cast<unsigned char>(ch); }

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_CP1252_H_
