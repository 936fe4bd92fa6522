#include "input/RtfText.h"

#include <map>
#include <vector>

#include "input/TextFile.h"
#include "input/UnicodeText.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// The code page of a font's \fcharset, or 0 for the document's own.
int CharsetCodePage(int charset) {
  static const std::pair<int, int> kPages[] = {{77, 10000}, {128, 932},  {129, 949},  {130, 1361},
                                               {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
                                               {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
                                               {204, 1251}, {222, 874},  {238, 1250}, {255, 437}};
  for (const auto& [set, page] : kPages) {
    if (set == charset) return page;
  }
  return 0;
}

bool IsSkippedDestination(std::string_view word) {
  static const std::string_view kSkipped[] = {
      "fonttbl",      "colortbl",  "stylesheet", "info",     "pict",       "objdata",
      "objclass",     "fldinst",   "header",     "headerl",  "headerr",    "headerf",
      "footer",       "footerl",   "footerr",    "footerf",  "listtable",  "listoverridetable",
      "revtbl",       "rsidtbl",   "generator",  "xmlnstbl", "themedata",  "colorschememapping",
      "latentstyles", "datastore", "filetbl",    "pgdsctbl", "pntext",     "pntxta",
      "pntxtb",       "listtext",  "bkmkstart",  "bkmkend",  "txe",        "xe",
      "tc",           "template",  "userprops",  "docvar",   "nonshppict", "shpinst",
      "sp",           "sn",        "sv",         "private",  "mmathPr",    "wgrffmtfilter"};
  for (std::string_view s : kSkipped) {
    if (word == s) return true;
  }
  return false;
}

struct GroupState {
  bool skip = false;      // the group's text is left out
  bool fonts = false;     // the group is (in) the font table
  bool footnote = false;  // the group's text is a footnote's
  int uc = 1;             // fallback characters after \uN
  int codePage = 0;       // of the current font; 0: the document's
};

class RtfParser {
 public:
  explicit RtfParser(std::string_view rtf) : rtf_(rtf) {}

  std::string Run() {
    std::vector<GroupState> stack(1);
    size_t i = 0;
    const size_t n = rtf_.size();
    while (i < n) {
      const char c = rtf_[i];
      GroupState& g = stack.back();
      if (c == '{') {
        Flush();
        stack.push_back(stack.back());
        ++i;
      } else if (c == '}') {
        Flush();
        if (stack.size() > 1) stack.pop_back();
        skipChars_ = 0;
        ++i;
      } else if (c == '\\') {
        i = ControlAt(i, stack);
      } else if (c == '\r' || c == '\n') {
        ++i;
      } else {
        Byte(static_cast<unsigned char>(c == '\t' ? ' ' : c), g);
        ++i;
      }
      if (stack.size() > kMaxDepth) stack.resize(kMaxDepth);
    }
    Flush();
    EndLine(false);
    EndLine(true);
    if (!notes_.empty()) AppendDocumentLine(notes_, &text_);
    return std::move(text_);
  }

 private:
  static constexpr size_t kMaxDepth = 4096;

  // The control word or symbol at rtf_[i] (a backslash); returns where the scan goes on.
  size_t ControlAt(size_t i, std::vector<GroupState>& stack) {
    GroupState& g = stack.back();
    const size_t n = rtf_.size();
    if (i + 1 >= n) return n;
    const char c = rtf_[i + 1];
    if (!IsAsciiLetter(c)) {
      switch (c) {
        case '\'': {
          const int high = i + 2 < n ? Hex(rtf_[i + 2]) : -1;
          const int low = i + 3 < n ? Hex(rtf_[i + 3]) : -1;
          if (high < 0) return i + 2;
          if (low < 0) return i + 3;  // a broken escape: its digit goes with it
          Byte(static_cast<unsigned char>(high * 16 + low), g, true);
          return i + 4;
        }
        case '{':
        case '}':
        case '\\':
          Byte(static_cast<unsigned char>(c), g);
          return i + 2;
        case '~':
          Character(0xA0, g);
          return i + 2;
        case '_':
          Character('-', g);
          return i + 2;
        case '*':
          Flush();
          g.skip = true;
          return i + 2;
        case '\r':
        case '\n':
          Paragraph(g);
          return i + 2;
        default:  // \- and the symbols without text
          return i + 2;
      }
    }
    size_t j = i + 1;
    while (j < n && j - i <= 32 && IsAsciiLetter(rtf_[j])) ++j;
    const std::string_view word = rtf_.substr(i + 1, j - i - 1);
    bool hasNumber = false;
    long number = 0;
    bool negative = false;
    if (j < n && rtf_[j] == '-') {
      negative = true;
      ++j;
    }
    for (int digits = 0; j < n && rtf_[j] >= '0' && rtf_[j] <= '9'; ++j, ++digits) {
      if (digits < 10) number = number * 10 + (rtf_[j] - '0');
      hasNumber = true;
    }
    if (negative) number = -number;
    if (j < n && rtf_[j] == ' ') ++j;
    Word(word, hasNumber, number, stack);
    if (word == "bin" && hasNumber && number > 0) {
      j += std::min(static_cast<size_t>(number), n - j);
    }
    return j;
  }

  void Word(std::string_view word, bool hasNumber, long number, std::vector<GroupState>& stack) {
    GroupState& g = stack.back();
    if (word == "fonttbl") {
      Flush();
      g.skip = g.fonts = true;
    } else if (IsSkippedDestination(word)) {
      Flush();
      g.skip = true;
    } else if (word == "footnote") {
      Flush();
      g.footnote = true;
    } else if (word == "ansicpg" && hasNumber) {
      Flush();
      documentPage_ = static_cast<int>(number);
    } else if (word == "f" && hasNumber) {
      if (g.fonts) {
        definedFont_ = number;
      } else {
        const auto found = fontPages_.find(number);
        g.codePage = found == fontPages_.end() ? 0 : found->second;
      }
    } else if (word == "fcharset" && hasNumber && g.fonts) {
      if (const int page = CharsetCodePage(static_cast<int>(number)); page != 0) {
        fontPages_[definedFont_] = page;
      }
    } else if (word == "cpg" && hasNumber && g.fonts) {
      fontPages_[definedFont_] = static_cast<int>(number);
    } else if (word == "uc" && hasNumber) {
      g.uc = static_cast<int>(std::max(0L, std::min(number, 16L)));
    } else if (word == "u" && hasNumber) {
      // A signed 16-bit number: anything else names no character.
      long cp = number < 0 ? number + 65536 : number;
      if (cp < 0 || cp > 0xFFFF) {
        high_ = 0;
      } else if (cp >= 0xD800 && cp <= 0xDBFF) {
        high_ = static_cast<uint32_t>(cp);
      } else {
        if (cp >= 0xDC00 && cp <= 0xDFFF && high_ != 0) {
          cp = 0x10000 + ((static_cast<long>(high_) - 0xD800) << 10) + (cp - 0xDC00);
        }
        high_ = 0;
        if (cp > 0 && !(cp >= 0xD800 && cp <= 0xDFFF)) Character(static_cast<uint32_t>(cp), g);
      }
      skipChars_ = g.uc;
    } else if (word == "par" || word == "line" || word == "sect" || word == "page" ||
               word == "cell" || word == "row") {
      Paragraph(g);
    } else if (word == "tab" || word == "emspace" || word == "enspace" || word == "qmspace") {
      Character(' ', g);
    } else {
      static const std::pair<std::string_view, uint32_t> kCharacters[] = {
          {"emdash", 0x2014},    {"endash", 0x2013},    {"lquote", 0x2018}, {"rquote", 0x2019},
          {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022}};
      for (const auto& [name, cp] : kCharacters) {
        if (word == name) Character(cp, g);
      }
    }
  }

  static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  // A byte of text in the group's code page: an \'hh byte is kept with the bytes
  // around it, for the trail byte of a double-byte code page may be below 0x80.
  void Byte(unsigned char b, const GroupState& g, bool escaped = false) {
    if (skipChars_ > 0) {
      --skipChars_;
      return;
    }
    if (g.skip) return;
    const int page = g.codePage != 0 ? g.codePage : documentPage_;
    if (b < 0x80 && !escaped) {
      Flush();
      Target(g) += static_cast<char>(b);
      return;
    }
    if (page != pendingPage_ || pendingFootnote_ != g.footnote) Flush();
    pending_ += static_cast<char>(b);
    pendingPage_ = page;
    pendingFootnote_ = g.footnote;
  }

  void Character(uint32_t cp, const GroupState& g) {
    if (g.skip) return;
    Flush();
    AppendUtf8(cp, &Target(g));
  }

  void Paragraph(const GroupState& g) {
    if (g.skip) return;
    Flush();
    EndLine(g.footnote);
  }

  std::string& Target(const GroupState& g) { return g.footnote ? noteLine_ : line_; }

  void EndLine(bool footnote) {
    if (footnote) {
      AppendDocumentLine(noteLine_, &notes_);
      noteLine_.clear();
    } else {
      AppendDocumentLine(line_, &text_);
      line_.clear();
    }
  }

  // The bytes of a code page collected so far, converted.
  void Flush() {
    if (pending_.empty()) return;
    std::string& out = pendingFootnote_ ? noteLine_ : line_;
    std::string converted, problem;
    const std::string name = "windows-" + std::to_string(pendingPage_);
    const std::string other = "cp" + std::to_string(pendingPage_);
    if (pendingPage_ == 1252 || pendingPage_ == 0 ||
        !(ConvertToUtf8(pending_, IsKnownEncoding(name) ? name : other, &converted, &problem))) {
      for (char b : pending_) AppendUtf8(Cp1252CodePoint(static_cast<unsigned char>(b)), &out);
    } else {
      out += converted;
    }
    pending_.clear();
  }

  std::string_view rtf_;
  std::string text_, notes_, line_, noteLine_;
  std::string pending_;  // bytes of a code page not yet converted
  int pendingPage_ = 0;
  bool pendingFootnote_ = false;
  int documentPage_ = 1252;
  std::map<long, int> fontPages_;  // font number -> code page
  long definedFont_ = 0;           // the font table's entry being read
  int skipChars_ = 0;              // fallback characters still to skip
  uint32_t high_ = 0;              // a high surrogate waiting for its pair
};

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const size_t first = bytes.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && bytes.substr(first).starts_with("{\\rtf");
}

std::string RtfDocumentText(std::string_view rtf) { return RtfParser(rtf).Run(); }

bool ReadRtfDocument(const std::string& path, const DocumentLimits& limits,
                     DocumentReading* reading) {
  const std::string crlf(kCrLf);
  std::string bytes;
  FileError error;
  if (!ReadFilePrefix(path, limits.maxTextBytes, &bytes, &error)) {
    reading->problem = error.description + crlf + "when reading input file.";
    reading->caption = "Read error";
    return false;
  }
  if (!LooksLikeRtf(bytes)) {
    return RefuseDocument(reading, path,
                          "has an 'rtf' extension but does not appear to be an RTF document "
                          "(it does not begin with {\\rtf).",
                          "RTF document");
  }
  reading->text = RtfDocumentText(bytes);
  return true;
}

}  // namespace quillmoor
