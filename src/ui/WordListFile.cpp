#include "ui/WordListFile.h"

#include <algorithm>
#include <cctype>

#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "input/TextFile.h"
#include "input/UnicodeText.h"
#include "input/Utf8Decode.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/Progress.h"

namespace quillmoor {

void ReadWordListFile(const Program& p, const std::string& path,
                      const std::function<void(std::string_view)>& onLine, int32_t& lngLineCount,
                      std::string& strErrorDescription, int32_t& lngErrorNumber) {
  strErrorDescription.clear();
  lngErrorNumber = 0;
  lngLineCount = 0;
  bool inBlock = false;
  int32_t seen = 0;
  FileError error;
  const bool ok = ForEachLineView(path, &error, [&](std::string_view line) {
    if (++seen % 256 == 0) {
      p.host.DoEvents();
      if (p.blnStop) return false;
    }
    line = TrimControlChars(line);
    if (line.empty()) return true;
    const bool opens = line.starts_with("/*");
    const bool closes = line.ends_with("*/");
    if (opens && closes) return true;
    if (opens) {
      inBlock = true;
      return true;
    }
    if (closes) {
      inBlock = false;
      return true;
    }
    if (inBlock) return true;
    onLine(line);
    ++lngLineCount;
    return true;
  });
  if (!ok) {
    lngErrorNumber = error.number;
    strErrorDescription = error.description;
  }
}

std::vector<std::string> SplitWords(const std::string& text) {
  size_t count = 0;  // counted first: the table is made once, at its size
  for (size_t i = 0; i < text.size(); ++i)
    count += text[i] != ' ' && (i == 0 || text[i - 1] == ' ');
  std::vector<std::string> words;
  words.reserve(count + 1);  // room for the unused first entry of a 1-based table
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.find(' ', i);
    if (end == std::string::npos) end = text.size();
    if (end > i) words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

std::string DroppedWordsNote(const std::vector<std::string>& dropped, std::string_view why) {
  if (dropped.empty()) return "";
  constexpr size_t kShown = 5;
  std::string shown;
  for (size_t i = 0; i < std::min(dropped.size(), kShown); ++i) {
    shown += (i == 0 ? "" : ", ") + dropped[i];
  }
  if (dropped.size() > kShown) shown += ", ...";
  const std::string count = dropped.size() == 1
                                ? "One word"
                                : FormatNumber(static_cast<double>(dropped.size()), 0) + " words";
  return count + " of the file " + (dropped.size() == 1 ? "was" : "were") + " left out (" +
         std::string(why) + "): " + shown;
}

bool ReadWordsOfFile(Program& p, const std::string& name, const WordFileKind& kind,
                     WordsOfFile* out) {
  const std::string crlf(kCrLf);
  std::string title = kind.what;
  title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
  const std::string path = ResolveLowerCasedPath(name);
  if (!FileExists(path)) {
    MsgBox(p, p.GetProgramText(kind.missingText), MsgButtons::kOK, MsgIcon::kExclamation,
           p.GetProgramText(121));
    return false;
  }
  bool markedUtf8 = false;
  int16_t fileType = 0;
  if (!CheckTextFile(p, path, true, markedUtf8, fileType, false)) return false;
  if (HasNulBytes(path)) {
    MsgBox(p, "File " + name + crlf + "is not a text file (it holds NUL bytes).", MsgButtons::kOK,
           MsgIcon::kExclamation, title);
    return false;
  }
  ConcealNumWords(p, true);
  p.frmMain.txbOutput.text = p.GetProgramText(kind.readingText) + " ...";
  RefreshOutput(p);
  FileError error;
  const long long length = Files().FileLength(path, &error);
  if (length > kStopButtonFileBytes) SetListWordsCaption(p, "Stop");

  // The kept lines joined by spaces.
  std::string joined;
  if (length > 0 && length < (1LL << 30)) joined.reserve(static_cast<size_t>(length) + 1);
  int32_t count = 0, number = 0;
  std::string description;
  ReadWordListFile(
      p, path,
      [&](std::string_view line) {
        joined += line;
        joined += ' ';
      },
      count, description, number);
  if (p.blnStop) {
    p.frmMain.txbOutput.text = "Reading " + kind.what + " was stopped.";
    RefreshOutput(p);
    return false;
  }
  if (number != 0) {
    MsgBox(p,
           "Error #" + std::to_string(number) + "when reading " + kind.what + " from tile " + name,
           MsgButtons::kOK, MsgIcon::kExclamation, title);
    return false;
  }
  // A file of valid UTF-8 that is not plain ASCII is decoded as a document is, word by
  // word; a word holding a character that Windows-1252 lacks is left out (it could
  // never be found). Any other file is Windows-1252.
  const bool utf8 =
      std::any_of(joined.begin(), joined.end(), [](char c) { return Byte(c) >= 0x80; }) &&
      IsValidUtf8(joined);
  out->words.clear();
  out->dropped.clear();
  if (!utf8) {
    // Lower case maps each character alone: the whole text at once, then its words.
    out->words = SplitWords(LowerCaseAccented(std::move(joined)));
    return true;
  }
  if (p.frmParams.strWordRules != "windows-1252" && CallsForUnicodeRules(joined)) {
    // Words in a script beyond Windows-1252: the list is kept for the Unicode rules
    // (byte order marks inside it go, no-break spaces part words).
    joined = ReplaceAll(ReplaceAll(joined, "\xEF\xBB\xBF", ""), "\xC2\xA0", " ");
    NormalizeToNfc(joined);
    out->words = SplitWords(LowerUnicodeText(joined));
    out->rules = WordRuleSet::kUnicode;
    return true;
  }
  for (std::string& word : SplitWords(joined)) {
    DecodeReport report;
    const std::string decoded = DecodeUtf8Text(word, &report);
    if (report.unmapped > 0) {
      out->dropped.push_back(std::move(word));
      continue;
    }
    // Decoding can leave nothing (a byte-order mark alone) or a space (a no-break
    // space): the words are what lies between the spaces.
    for (std::string& part : SplitWords(decoded))
      out->words.push_back(LowerCaseAccented(std::move(part)));
  }
  return true;
}

}  // namespace quillmoor
