#include "settings/WordListFile.h"

#include "engine/WordRules.h"
#include "input/TextFile.h"
#include "input/Utf8Fixups.h"
#include "shared/FileSystem.h"
#include "shared/Program.h"

namespace quillmoor {

void ReadWordListFile(Program& p, const std::string& path, std::vector<std::string>& lines,
                      int32_t firstIndex, bool blnFixUTF8, int32_t& lngLineCount,
                      std::string& strErrorDescription, int32_t& lngErrorNumber) {
  strErrorDescription.clear();
  lngErrorNumber = 0;
  lngLineCount = 0;
  lines.resize(static_cast<size_t>(firstIndex));
  bool inBlock = false;
  int32_t seen = 0;
  FileError error;
  const bool ok = ForEachLine(path, &error, [&](std::string& raw) {
    if (++seen % 256 == 0) {
      p.host.DoEvents();
      if (p.blnStop) return false;
    }
    std::string line = raw;
    TrimControlChars(line);
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
    if (blnFixUTF8) line = ConvertUTF8Latin1(std::move(line));
    lines.push_back(std::move(line));
    ++lngLineCount;
    return true;
  });
  lines.emplace_back();  // the spare entry
  if (!ok) {
    lngErrorNumber = error.number;
    strErrorDescription = error.description;
  }
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
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

}  // namespace quillmoor
