#include "engine/WordScanner.h"

#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "input/Markup.h"
#include "shared/Program.h"
#include "ui/Progress.h"

namespace quillmoor {
namespace {

// Words ending in "s" that keep it (besides those ending in "ics").
bool IsPluralException(std::string_view lower) {
  static constexpr std::string_view kKeep[] = {"maths", "stats", "arms", "dickens", "always",
                                               "perhaps"};
  for (std::string_view word : kKeep) {
    if (lower == word) return true;
  }
  return false;
}

}  // namespace

std::string GetWord(Program& p) {
  const std::string_view text(p.strLine);
  const size_t begin = static_cast<size_t>(p.lngLP - 1);
  size_t end = begin;
  while (end < text.size() && IsWordStartChar(text[end])) ++end;
  if (end == begin) return "";
  p.lngLP += static_cast<int32_t>(end - begin);
  std::string_view s = text.substr(begin, end - begin);
  if (ContainsNoLetter(s)) return "";
  // Leading and trailing hyphens go; inner hyphens stay.
  while (!s.empty() && s.front() == '-') s.remove_prefix(1);
  while (!s.empty() && s.back() == '-') s.remove_suffix(1);
  // A plural "s" goes, unless the word ends in "ss", a vowel and "s", or is an exception.
  const size_t n = s.size();
  if (n >= 3 && s.back() == 's' && s[n - 2] != 's' && s[n - 2] != '\'' &&
      !IsVowel(s.substr(n - 2, 1), true)) {
    char lower[8];
    bool exception = LowerCaseChar(s[n - 3]) == 'i' && LowerCaseChar(s[n - 2]) == 'c';
    if (!exception && n <= 7) {
      for (size_t i = 0; i < n; ++i) lower[i] = LowerCaseChar(s[i]);
      exception = IsPluralException(std::string_view(lower, n));
    }
    if (!exception) s.remove_suffix(1);
  }
  if (s.size() == 1 && (LowerCaseChar(s[0]) == 's' || LowerCaseChar(s[0]) == 't')) return "";
  if (IsContractionStem(s)) return "";
  return std::string(s);
}

void GetWords(Program& p) {
  p.strLine = RemoveDoubleHyphens(std::move(p.strLine));
  if (p.blnCharacterEntitiesPossible) p.strLine = DecodeCharacterEntities(p.strLine);
  p.lngLP = 1;
  const int32_t length = static_cast<int32_t>(p.strLine.size());
  while (true) {
    if (p.lngLP >= length) break;
    if (p.blnStartUpCompleted) p.host.DoEvents();
    if (IsWordStartChar(p.strLine[static_cast<size_t>(p.lngLP - 1)])) {
      const std::string w = GetWord(p);
      const int32_t len = static_cast<int32_t>(w.size());
      if (len >= 3 && len <= p.intMaxPermittedWordLength && !IsRepeatedChar(w) &&
          !IsRomanNumeral(w, false)) {
        AddWordToList(p, w);
        UpdateProgressBar(p, p.lngLP, length, 10240);
        if (p.blnStartUpCompleted) p.host.DoEvents();
        if (p.blnStop) break;
      }
    }
    p.lngLP = NextNonSpace(p.strLine, p.lngLP + 1);
    if (p.lngLP == 0) break;
  }
}

}  // namespace quillmoor
