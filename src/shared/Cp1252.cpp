#include "shared/Cp1252.h"

#include <array>
#include <cstdint>

#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// Code points of bytes 80 to 9F; undefined bytes keep their own value.
constexpr uint16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

uint32_t Cp1252CodePoint(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHighTable[b - 0x80];
  return b;
}

bool Cp1252ByteOf(uint32_t cp, unsigned char* b) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    *b = static_cast<unsigned char>(cp);
    return true;
  }
  if (cp > 0x2122) return false;
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == cp) {
      *b = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::string Cp1252Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Cp1252LowerChar(c);
  return out;
}

void AppendCp1252AsUtf8(std::string_view text, std::string* out) {
  size_t i = 0;
  while (i < text.size()) {
    size_t ascii = i;
    while (ascii < text.size() && Byte(text[ascii]) < 0x80) ++ascii;
    out->append(text.data() + i, ascii - i);  // runs of ASCII as they are
    if (ascii < text.size()) AppendUtf8(Cp1252CodePoint(Byte(text[ascii])), out);
    i = ascii + 1;
  }
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  AppendCp1252AsUtf8(text, &out);
  return out;
}

bool Utf8ToCp1252(std::string_view text, std::string* out) {
  out->clear();
  out->reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    unsigned char mapped = 0;
    if (len == 0 || !Cp1252ByteOf(cp, &mapped)) return false;
    out->push_back(static_cast<char>(mapped));
    i += len;
  }
  return true;
}

char AsciiLowerChar(char ch) {
  return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = AsciiLowerChar(ch);
  return out;
}

std::string TrimSpaces(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

size_t InStr(size_t start, std::string_view haystack, std::string_view needle) {
  if (start < 1 || start > haystack.size()) return 0;
  size_t found = haystack.find(needle, start - 1);
  return found == std::string_view::npos ? 0 : found + 1;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    size_t found = text.find(from, pos);
    if (found == std::string_view::npos) break;
    out.append(text.substr(pos, found - pos));
    out.append(to);
    pos = found + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string NumberText(long long value, bool leadingSpace) {
  std::string digits = std::to_string(value);
  if (leadingSpace && value >= 0) return " " + digits;
  return digits;
}

}  // namespace quillmoor
