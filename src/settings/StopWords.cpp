#include "settings/StopWords.h"

#include <algorithm>
#include <string_view>

#include "engine/SortedStrings.h"
#include "engine/WordRules.h"
#include "input/TextFile.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {}  // namespace

std::string DetectDocumentLanguage(const std::string& path, const std::string& codes,
                                   const std::string& defaultCode) {
  std::string message;
  int32_t number = 0, count = 0;
  LineReadOptions options;
  options.blnSkipBlankLines = true;
  options.lngMaxLines = 10;
  const std::string text = Cp1252Lower(ReadTextFileLines(path, message, number, count, options));
  const std::string list = Cp1252Lower(codes);
  // The characters at positions `from` and `from` + 1 after the end of `marker`, when
  // `quoteAt` (0 = no condition) holds a double quote; "" when the rule does not apply.
  auto rule = [&text](std::string_view marker, int quoteAt, std::string* code) {
    size_t found = text.find(marker);
    if (found == std::string::npos) return false;
    const size_t base = found + marker.size();  // position 1 is text[base]
    if (quoteAt > 0) {
      const size_t at = base + static_cast<size_t>(quoteAt - 1);
      if (at >= text.size() || text[at] != '"') return false;
    }
    *code = base + 1 < text.size() ? text.substr(base + 1, 2) : "";
    return true;
  };
  std::string code;
  if (!rule("lang=\"", 4, &code) && !rule("lang=", 0, &code)) rule("content=\"", 4, &code);
  if (!list.empty() && code.size() >= 2 && list.find(code) != std::string::npos) return code;
  return defaultCode;
}

ExtraStopWords::ExtraStopWords(const std::string& table) : given_(!table.empty()) {
  // Each word between two spaces: what a search of the table for " word " finds.
  for (size_t begin = table.find(' '); begin != std::string::npos;) {
    const size_t end = table.find(' ', begin + 1);
    if (end == std::string::npos) break;
    if (end > begin + 1) words_.emplace(table, begin + 1, end - begin - 1);
    begin = end;
  }
}

bool IsStopWord(const StopWordTable& p, bool listNamed, const ExtraStopWords& extra,
                const std::string& word) {
  if (!listNamed && !extra.given()) return false;
  if (extra.given() && extra.Contains(LowerCaseAccented(word))) return true;
  int32_t index = 0;
  return p.lngNumStopWords >= 1 && FindString(word, p.arrStopWords, p.lngNumStopWords, &index);
}

bool IsStopWord(const StopWordTable& p, bool listNamed, const std::string& word) {
  return IsStopWord(p, listNamed, ExtraStopWords(p.strExtraStopWords), word);
}

}  // namespace quillmoor
