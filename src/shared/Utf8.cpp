#include "shared/Utf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>

#include "shared/Cp1252.h"

namespace quillmoor {

size_t Utf8SequenceAt(std::string_view text, size_t i, uint32_t* cp) {
  const size_t n = text.size();
  const unsigned char b0 = Byte(text[i]);
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  auto cont = [&](size_t k) { return i + k < n && (Byte(text[i + k]) & 0xC0) == 0x80; };
  auto bits = [&](size_t k) { return static_cast<uint32_t>(Byte(text[i + k]) & 0x3F); };
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (!cont(1)) return 0;
    *cp = (static_cast<uint32_t>(b0 & 0x1F) << 6) | bits(1);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (!cont(1) || !cont(2)) return 0;
    const uint32_t v = (static_cast<uint32_t>(b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2);
    if (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *cp = v;
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (!cont(1) || !cont(2) || !cont(3)) return 0;
    const uint32_t v =
        (static_cast<uint32_t>(b0 & 0x07) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
    if (v < 0x10000 || v > 0x10FFFF) return 0;
    *cp = v;
    return 4;
  }
  return 0;
}

size_t NextNonAscii(std::string_view text, size_t from, size_t end) {
  const char* data = text.data();
  size_t i = from;
  for (; i + 8 <= end; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < end && Byte(data[i]) < 0x80) ++i;
  return i;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    if (Byte(text[i]) < 0x80) {
      ++i;
      continue;
    }
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

void AppendUtf8(uint32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string TextAsUtf8(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

std::string Utf8ToCp1252Lossy(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    unsigned char b = 0;
    out.push_back(len > 0 && Cp1252ByteOf(cp, &b) ? static_cast<char>(b) : '?');
    i += len > 0 ? len : 1;
  }
  return out;
}

std::string FirstCharOutsideCp1252(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    unsigned char b = 0;
    if (len == 0) return std::string(text.substr(i, 1));
    if (!Cp1252ByteOf(cp, &b)) return std::string(text.substr(i, len));
    i += len;
  }
  return "";
}

std::string_view Utf8Chars::Next() {
  if (at_ >= text_.size()) return {};
  uint32_t cp = 0;
  size_t len = Utf8SequenceAt(text_, at_, &cp);
  if (len == 0) len = 1;
  std::string_view one = text_.substr(at_, len);
  at_ += len;
  return one;
}

namespace {

uint32_t LowerCodePoint(uint32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
  // Latin Extended-A: capitals and small letters alternate, with the two runs that
  // start on an odd code point.
  if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) return cp | 1;
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return (cp & 1) ? cp + 1 : cp;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) return cp + 32;  // Greek
  if (cp >= 0x410 && cp <= 0x42F) return cp + 32;                 // Cyrillic
  if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
  return cp;
}

}  // namespace

std::string Utf8Lower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    if (len == 0) {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    AppendUtf8(LowerCodePoint(cp), &out);
    i += len;
  }
  return out;
}

size_t Utf8CutPoint(std::string_view text, size_t maxBytes) {
  if (maxBytes >= text.size()) return text.size();
  size_t cut = maxBytes;
  // Step back over continuation bytes to the start of the character that would be
  // split, as long as that start begins a sequence that reaches past the cut.
  size_t start = cut;
  while (start > 0 && cut - start < 3 && (Byte(text[start]) & 0xC0) == 0x80) --start;
  uint32_t cp = 0;
  const size_t len = Utf8SequenceAt(text, start, &cp);
  if (len > 0 && start + len > cut) return start;
  return cut;
}

size_t Utf8Length(std::string_view text) {
  size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

namespace {

#if defined(__SSE2__)
// The columns of the characters that begin in text[at, at + 16) (Utf8Columns).
inline int BlockColumns(const char* at) {
  const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i continuation =
      _mm_cmpeq_epi8(_mm_and_si128(chunk, _mm_set1_epi8(static_cast<char>(0xC0))),
                     _mm_set1_epi8(static_cast<char>(0x80)));
  const __m128i wide =
      _mm_cmpeq_epi8(_mm_max_epu8(chunk, _mm_set1_epi8(static_cast<char>(0xE3))), chunk);
  // Each byte: 1 for a start, 1 more for a wide one; summed by the byte-sum instruction.
  const __m128i one = _mm_set1_epi8(1);
  const __m128i columns =
      _mm_add_epi8(_mm_andnot_si128(continuation, one), _mm_and_si128(wide, one));
  const __m128i sums = _mm_sad_epu8(columns, _mm_setzero_si128());
  return _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
}
#endif

}  // namespace

size_t Utf8Forward(std::string_view text, size_t i, int32_t columns) {
  const size_t n = text.size();
  int32_t left = columns;
#if defined(__SSE2__)
  // Whole blocks while they hold fewer columns than are left to pass (32 at most).
  while (left > 32 && i + 16 <= n) {
    left -= BlockColumns(text.data() + i);
    i += 16;
  }
  while (i < n && Utf8Columns(text[i]) == 0) ++i;  // the rest of a character begun in a block
#endif
  while (left > 0 && i < n) {
    left -= Utf8Columns(text[i]);
    do ++i;
    while (i < n && Utf8Columns(text[i]) == 0);
  }
  return i;
}

size_t Utf8Back(std::string_view text, size_t at, int32_t columns, int32_t* stepped) {
  int32_t left = columns;
#if defined(__SSE2__)
  while (left > 32 && at >= 16) {
    left -= BlockColumns(text.data() + at - 16);
    at -= 16;
  }
#endif
  while (left > 0 && at > 0) {
    --at;
    left -= Utf8Columns(text[at]);
  }
  *stepped = columns - std::max(left, 0);
  return at;
}

}  // namespace quillmoor
