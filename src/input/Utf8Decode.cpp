#include "input/Utf8Decode.h"

#include <algorithm>

#include "shared/Cp1252.h"
#include "shared/Host.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// The ASCII replacement of the typographic punctuation U+2010 to U+203F, or nullptr.
const char* PunctuationFor(uint32_t cp) {
  switch (cp) {
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
      return "-";
    case 0x2014:
      return " -- ";
    case 0x2015:
      return "--";
    case 0x2016:
      return "|";
    case 0x2017:
      return "\x89";
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201B:
      return "'";
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x201F:
      return "\"";
    case 0x2022:
      return " . ";
    case 0x2026:
      return "...";
    case 0x2039:
      return "<";
    case 0x203A:
      return ">";
    default:
      return nullptr;
  }
}

}  // namespace

void DecodeReport::Note(std::string_view utf8Char) {
  ++unmapped;
  if (examples.size() < kMaxExamples &&
      std::find(examples.begin(), examples.end(), utf8Char) == examples.end()) {
    examples.emplace_back(utf8Char);
  }
}

std::string DecodeUtf8Text(std::string text, DecodeReport* report, bool atTextStart) {
  return DecodeNonAscii(
      std::move(text), atTextStart, [report](std::string_view seq, uint32_t cp, std::string* out) {
        unsigned char b = 0;
        if (cp == 0) {
          out->append(seq);  // not UTF-8: the byte stays
        } else if (cp >= 0x80 && cp <= 0x9F) {
          // C1 controls are dropped.
        } else if (cp == 0x10D) {
          out->push_back('c');
        } else if (const char* punct =
                       cp >= 0x2010 && cp <= 0x203A ? PunctuationFor(cp) : nullptr) {
          out->append(punct);
        } else if (Cp1252ByteOf(cp, &b)) {
          out->push_back(static_cast<char>(b));
        } else {
          out->push_back('?');
          if (report != nullptr) report->Note(seq);
        }
      });
}

Utf8Survey SurveyUtf8(std::string_view text) {
  const size_t n = text.size();
  const size_t start = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  Utf8Survey survey;
  for (size_t i = NextNonAscii(text, start, n); i < n;) {
    const unsigned char b = Byte(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAtInline(text, i, &cp);
    if (len == 0) {
      ++survey.strays;
      ++i;
      continue;
    }
    ++survey.sequences;
    survey.controls = survey.controls || cp <= 0x9F;
    unsigned char byte = 0;
    survey.beyond = survey.beyond || (cp > 0x9F && cp != 0x10D &&
                                      !(cp >= 0x2010 && cp <= 0x203A && PunctuationFor(cp)) &&
                                      !Cp1252ByteOf(cp, &byte));
    i += len;
  }
  return survey;
}

std::string UnmappedCharactersNotice(const DecodeReport& report) {
  if (report.unmapped == 0) return "";
  std::string shown;
  for (const std::string& c : report.examples) shown += (shown.empty() ? "" : " ") + c;
  const bool one = report.unmapped == 1;
  const std::string crlf(kCrLf);
  return (one ? std::string("One character")
              : FormatNumber(static_cast<double>(report.unmapped), 0) + " characters") +
         " of this document " + (one ? "is" : "are") +
         " not in the Windows-1252 character set that words are made of" +
         (one ? ": " : ", such as: ") + shown + crlf + crlf +
         (one ? "It was read as \"?\", which is" : "Each was read as \"?\", which is") +
         " not part of any word.";
}

void TellUnmappedCharacters(Host& host, const DecodeReport& report) {
  const std::string notice = UnmappedCharactersNotice(report);
  if (!notice.empty()) {
    MsgBox(host, notice, MsgButtons::kOK, MsgIcon::kInformation, "Characters outside Windows-1252");
  }
}

}  // namespace quillmoor
