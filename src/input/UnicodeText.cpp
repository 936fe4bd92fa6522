#include "input/UnicodeText.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <memory>

#include "input/Utf8Decode.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

std::string Lower(std::string_view name) {
  std::string s;
  for (char c : name) {
    if (c != '-' && c != '_') s.push_back(AsciiLowerChar(c));
  }
  return s;
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

}  // namespace

std::string DecodeUnicodeText(std::string text, bool atTextStart, bool clean) {
  const auto decodedAlready = [&text, atTextStart] {
    const Utf8Survey survey = SurveyUtf8(text);
    return survey.strays == 0 && !survey.controls &&
           !(atTextStart && text.starts_with("\xEF\xBB\xBF"));
  };
  if (clean || decodedAlready()) {
    NormalizeToNfc(text);
    return text;
  }
  text = DecodeNonAscii(std::move(text), atTextStart,
                        [](std::string_view seq, uint32_t cp, std::string* out) {
                          if (cp == 0) {
                            // Not UTF-8: a Windows-1252 byte.
                            AppendUtf8(Cp1252CodePoint(Byte(seq[0])), out);
                          } else if (cp > 0x9F) {  // the C1 controls go
                            out->append(seq);
                          }
                        });
  NormalizeToNfc(text);
  return text;
}

void NormalizeToNfc(std::string& text) {
  UErrorCode error = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(error);
  if (U_FAILURE(error)) return;
  // Text in Normalization Form C (most text) is only read.
  const icu::StringPiece piece(text.data(), static_cast<int32_t>(text.size()));
  if (nfc->isNormalizedUTF8(piece, error) || U_FAILURE(error)) return;
  error = U_ZERO_ERROR;
  std::string normal;
  normal.reserve(text.size());
  icu::StringByteSink<std::string> sink(&normal);
  nfc->normalizeUTF8(0, piece, sink, nullptr, error);
  if (U_SUCCESS(error)) text = std::move(normal);
}

const std::vector<std::string>& NamedEncodings() {
  static const std::vector<std::string> kNames = {
      "UTF-8",        "windows-1252", "UTF-16LE",     "UTF-16BE",     "ISO-8859-1",
      "ISO-8859-2",   "ISO-8859-3",   "ISO-8859-4",   "ISO-8859-5",   "ISO-8859-6",
      "ISO-8859-7",   "ISO-8859-8",   "ISO-8859-9",   "ISO-8859-10",  "ISO-8859-13",
      "ISO-8859-14",  "ISO-8859-15",  "ISO-8859-16",  "windows-1250", "windows-1251",
      "windows-1253", "windows-1254", "windows-1255", "windows-1256", "windows-1257",
      "windows-1258", "KOI8-R",       "KOI8-U",       "Shift_JIS",    "EUC-JP",
      "GB18030",      "Big5",         "EUC-KR"};
  return kNames;
}

bool IsKnownEncoding(const std::string& name) {
  if (name.empty()) return false;
  UErrorCode error = U_ZERO_ERROR;
  std::unique_ptr<UConverter, ConverterCloser> c(ucnv_open(name.c_str(), &error));
  return U_SUCCESS(error) && c != nullptr;
}

bool IsUtf8Name(const std::string& name) { return Lower(name) == "utf8"; }

bool IsWindows1252Name(const std::string& name) {
  const std::string n = Lower(name);
  return n == "windows1252" || n == "cp1252";
}

std::string_view ByteOrderMarkEncoding(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return "UTF-8";
  if (bytes.substr(0, 2) == "\xFF\xFE") return "UTF-16LE";
  if (bytes.substr(0, 2) == "\xFE\xFF") return "UTF-16BE";
  return "";
}

bool ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::string* out,
                   std::string* problem) {
  out->clear();
  UErrorCode error = U_ZERO_ERROR;
  std::unique_ptr<UConverter, ConverterCloser> c(ucnv_open(encoding.c_str(), &error));
  if (U_FAILURE(error) || c == nullptr) {
    *problem = "unknown encoding: " + encoding;
    return false;
  }
  // A mark of the encoding's own goes (the UTF-16 converters keep it as U+FEFF).
  const std::string_view mark = ByteOrderMarkEncoding(bytes);
  if (!mark.empty() && Lower(mark) == Lower(encoding)) bytes.remove_prefix(mark == "UTF-8" ? 3 : 2);
  try {
    out->reserve(bytes.size() + bytes.size() / 2);
    const char* source = bytes.data();
    const char* const limit = source + bytes.size();
    constexpr int32_t kChunk = 32768;
    std::vector<UChar> units16(kChunk + 1);
    std::vector<char> bytes8(kChunk * 3 + 4);
    UChar* const buffer = units16.data();
    int32_t carried = 0;  // a lead surrogate left from the last chunk
    while (true) {
      UChar* target = buffer + carried;
      error = U_ZERO_ERROR;
      ucnv_toUnicode(c.get(), &target, buffer + kChunk, &source, limit, nullptr, true, &error);
      if (U_FAILURE(error) && error != U_BUFFER_OVERFLOW_ERROR) {
        *problem = "cannot be read as " + encoding;
        return false;
      }
      int32_t units = static_cast<int32_t>(target - buffer);
      carried = units > 0 && U16_IS_LEAD(buffer[units - 1]) && error == U_BUFFER_OVERFLOW_ERROR;
      units -= carried;
      int32_t length = 0;
      UErrorCode e = U_ZERO_ERROR;
      u_strToUTF8WithSub(bytes8.data(), static_cast<int32_t>(bytes8.size()), &length, buffer, units,
                         0xFFFD, nullptr, &e);
      out->append(bytes8.data(), static_cast<size_t>(length));
      if (carried) buffer[0] = buffer[units];
      if (error != U_BUFFER_OVERFLOW_ERROR) break;
    }
  } catch (const std::bad_alloc&) {
    out->clear();
    *problem = "Out of memory";
    return false;
  }
  return true;
}

std::string LikelyOtherCodePage(std::string_view bytes, int minConfidence) {
  UErrorCode error = U_ZERO_ERROR;
  UCharsetDetector* detector = ucsdet_open(&error);
  if (U_FAILURE(error)) return "";
  // A sample is enough (the detector reads it all).
  const int32_t size = static_cast<int32_t>(std::min<size_t>(bytes.size(), 65536));
  ucsdet_setText(detector, bytes.data(), size, &error);
  const UCharsetMatch* match = ucsdet_detect(detector, &error);
  std::string name;
  if (U_SUCCESS(error) && match != nullptr &&
      ucsdet_getConfidence(match, &error) >= minConfidence) {
    name = ucsdet_getName(match, &error);
  }
  ucsdet_close(detector);
  const std::string n = Lower(name);
  if (U_FAILURE(error) || n.empty() || n == "windows1252" || n == "iso88591" || n == "utf8" ||
      n == "usascii" || n == "iso885915") {
    return "";
  }
  return name;
}

}  // namespace quillmoor
