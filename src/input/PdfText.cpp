#include "input/PdfText.h"

#include <unicode/uchar.h>

#include <string_view>

#include "input/PdfModule.h"
#include "shared/Cp1252.h"
#include "shared/Modules.h"
#include "shared/PageMap.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// A page's text with ligatures spelled out, soft hyphens and control characters gone,
// cut into its lines that hold something (trimmed).
std::vector<std::string> PageLines(std::string_view raw) {
  static const char* const kLigatures[] = {"ff", "fi", "fl", "ffi", "ffl", "st", "st"};
  std::vector<std::string> lines;
  std::string line;
  const auto finish = [&] {
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos) {
      lines.push_back(line.substr(first, line.find_last_not_of(' ') + 1 - first));
    }
    line.clear();
  };
  for (size_t i = 0; i < raw.size(); ++i) {
    const unsigned char c = Byte(raw[i]);
    if (c == '\n') {
      finish();
    } else if (c < 0x20 || c == 0x7F) {
      line += ' ';
    } else if (c == 0xEF && i + 2 < raw.size() && Byte(raw[i + 1]) == 0xAC &&
               Byte(raw[i + 2]) <= 0x86) {
      line += kLigatures[Byte(raw[i + 2]) - 0x80];
      i += 2;
    } else if (c == 0xC2 && i + 1 < raw.size() && Byte(raw[i + 1]) == 0xAD) {
      line += "\xC2\xAD";  // kept for the line-end test, dropped below
      ++i;
    } else {
      line += static_cast<char>(c);
    }
  }
  finish();
  return lines;
}

// The code point a UTF-8 text begins with, or ends with (0 for none).
uint32_t FirstCodePoint(std::string_view s) {
  uint32_t cp = 0;
  return !s.empty() && Utf8SequenceAt(s, 0, &cp) > 0 ? cp : 0;
}
uint32_t LastCodePoint(std::string_view s) {
  size_t at = s.size();
  while (at > 0 && (Byte(s[at - 1]) & 0xC0) == 0x80) --at;
  if (at == 0) return 0;
  uint32_t cp = 0;
  return Utf8SequenceAt(s, at - 1, &cp) > 0 ? cp : 0;
}

enum class LineEnd { kBreak, kHyphen, kSoftHyphen };

LineEnd EndOf(std::string_view line, std::string_view next) {
  if (!u_islower(static_cast<UChar32>(FirstCodePoint(next)))) return LineEnd::kBreak;
  for (const auto& [mark, kind] : {std::pair<std::string_view, LineEnd>{"-", LineEnd::kHyphen},
                                   {"\xE2\x80\x90", LineEnd::kHyphen},
                                   {"\xC2\xAD", LineEnd::kSoftHyphen}}) {
    if (line.size() > mark.size() && line.ends_with(mark) &&
        u_isalpha(static_cast<UChar32>(LastCodePoint(line.substr(0, line.size() - mark.size()))))) {
      return kind;
    }
  }
  return LineEnd::kBreak;
}

void DropSoftHyphens(std::string& s) {
  size_t out = 0;
  for (size_t in = 0; in < s.size(); ++in) {
    if (Byte(s[in]) == 0xC2 && in + 1 < s.size() && Byte(s[in + 1]) == 0xAD) {
      ++in;
      continue;
    }
    s[out++] = s[in];
  }
  s.resize(out);
}

}  // namespace

void JoinPdfPages(const std::vector<std::string>& pages, DocumentReading* reading) {
  std::vector<std::vector<std::string>> lines;
  lines.reserve(pages.size());
  for (const std::string& page : pages) lines.push_back(PageLines(page));
  // The lines of the text, each with the page it begins on.
  std::vector<std::pair<int32_t, std::string>> out;
  std::string line;  // the line being made
  int32_t linePage = 0;
  for (size_t page = 0; page < lines.size(); ++page) {
    for (const std::string& whole : lines[page]) {
      std::string_view next = whole;
      if (!line.empty()) {
        if (const LineEnd end = EndOf(line, next); end != LineEnd::kBreak) {
          // The word ends with the next line's first word; the rest of that line follows.
          const size_t space = next.find(' ');
          const std::string_view tail = next.substr(0, space);
          line.resize(line.size() - (end == LineEnd::kSoftHyphen ? 2
                                     : line.ends_with("-")       ? 1
                                                                 : 3));
          line += tail;
          if (space == std::string_view::npos) continue;
          next = next.substr(space + 1);
        }
        DropSoftHyphens(line);
        out.emplace_back(linePage, std::move(line));
      }
      line.assign(next);
      linePage = static_cast<int32_t>(page + 1);
    }
  }
  if (!line.empty()) {
    DropSoftHyphens(line);
    out.emplace_back(linePage, std::move(line));
  }
  std::string& text = reading->text;
  text.clear();
  reading->markPages.clear();
  reading->firstPage = out.empty() ? 0 : out.front().first;
  for (size_t i = 0; i < out.size(); ++i) {
    if (i > 0 && out[i].first != out[i - 1].first) {
      text += kPageBreak;
      reading->markPages.push_back(out[i].first);
    } else if (i > 0) {
      text += " / ";
    }
    text += out[i].second;
  }
}

namespace {

struct PdfRead {
  std::vector<std::string> pages;
  long long bytes = 0;
  long long maxBytes = 0;
  const std::function<bool()>* stopped = nullptr;
  bool stop = false;   // the reading was stopped on request
  std::string reason;  // poppler's last message
};

}  // namespace

bool ReadPdfDocument(const std::string& path, const DocumentLimits& limits,
                     DocumentReading* reading) {
  const std::string crlf(kCrLf);
  const auto refuse = [&](const std::string& problem, const char* caption) {
    return RefuseDocument(reading, path, problem, caption);
  };
  static PdfTextFunction* read = nullptr;
  if (read == nullptr) {
    std::string why;
    read = reinterpret_cast<PdfTextFunction*>(FindModuleSymbol(kPdfModule, kPdfSymbol, &why));
    if (read == nullptr) {
      return refuse("cannot be read: the PDF reader of this program is missing (" + why + ").",
                    "PDF document");
    }
  }
  PdfRead state;
  state.maxBytes = limits.maxTextBytes;
  state.stopped = &limits.stopped;
  const auto page = [](void* context, int number, const char* text, size_t size) {
    auto* s = static_cast<PdfRead*>(context);
    if (number % 8 == 0 && *s->stopped && (*s->stopped)()) {
      s->stop = true;
      return false;
    }
    s->bytes += static_cast<long long>(size);
    if (s->bytes > s->maxBytes) return false;
    s->pages.emplace_back(text, size);
    return true;
  };
  const auto reason = [](void* context, const char* text, size_t size) {
    static_cast<PdfRead*>(context)->reason.assign(text, size);
  };
  int pages = 0;
  const int status = read(path.c_str(), &pages, page, reason, &state);
  reading->pages = pages;
  if (status == kPdfModuleLocked) {
    return refuse("is protected by a password: its text cannot be read without it." + crlf +
                      "Save an unprotected copy with the program that opens it, and read that.",
                  "Protected PDF document");
  }
  // poppler's words, without its category ("error: ") and full stop.
  std::string why = state.reason.empty() ? "it is not a PDF file" : state.reason;
  for (const char* category : {"syntax error: ", "error: ", "internal error: ", "io error: "}) {
    if (why.starts_with(category)) why.erase(0, std::string_view(category).size());
  }
  while (!why.empty() && (why.back() == '.' || why.back() == '\n')) why.pop_back();
  if (status == kPdfModuleDamaged) {
    return refuse("is not a readable PDF document: " + why + ".", "Damaged PDF document");
  }
  if (status == kPdfModuleStopped && state.stop) {
    reading->problem = "Stopped when reading file.";
    reading->caption = "Stopped";
    return false;
  }
  if (status == kPdfModuleStopped) {
    return refuse("makes a text of more than " + std::to_string(limits.maxTextBytes) +
                      " bytes, more than can be scanned.",
                  "File too large");
  }
  JoinPdfPages(state.pages, reading);
  if (reading->text.empty()) {
    if (pages == 0) {
      return refuse("is not a readable PDF document: " + why + ".", "Damaged PDF document");
    }
    return refuse("holds no text: its " + std::to_string(pages) +
                      (pages == 1 ? " page is" : " pages are") + " pictures without a text layer." +
                      crlf +
                      "This usually happens with a scanned document. A program for optical "
                      "character recognition (OCR), such as ocrmypdf, can add the text.",
                  "No text in the PDF document");
  }
  return true;
}

}  // namespace quillmoor
