#include "ui/ListRules.h"

#include <algorithm>

#include "input/Utf8Decode.h"
#include "output/KeywordSearch.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"

namespace quillmoor {
namespace {

// Elements 1..n of a 1-based list, converted; sorted again when `sorted`.
void ConvertList(std::vector<std::string>& list, int32_t n, WordRuleSet from, WordRuleSet to,
                 bool sorted) {
  const int32_t last = std::min<int32_t>(n, static_cast<int32_t>(list.size()) - 1);
  for (int32_t i = 1; i <= last; ++i) {
    list[static_cast<size_t>(i)] = ListWordInRules(list[static_cast<size_t>(i)], from, to);
  }
  if (sorted && last > 1) std::sort(list.begin() + 1, list.begin() + 1 + last);
}

}  // namespace

std::string ListWordInRules(const std::string& word, WordRuleSet from, WordRuleSet to) {
  if (from == to) return word;
  // A UTF-8 word kept in a Windows-1252 list (below) is UTF-8 already.
  if (to == WordRuleSet::kUnicode) return CallsForUnicodeRules(word) ? word : Cp1252ToUtf8(word);
  std::string out;
  return Utf8ToCp1252(word, &out) ? out : word;
}

void PutListsInRules(StopWordTable& s, KeywordLists& k, WordRuleSet rules) {
  if (s.stopWordRules != rules) {
    ConvertList(s.arrStopWords, s.lngNumStopWords, s.stopWordRules, rules, true);
    s.strExtraStopWords = ListWordInRules(s.strExtraStopWords, s.stopWordRules, rules);
    s.stopWordRules = rules;
  }
  if (k.keywordRules != rules) {
    ConvertList(k.strSearchWords, k.lngNumSearchWords, k.keywordRules, rules, true);
    ConvertList(k.strExtraKeywordList, k.intNumExtraKeywords, k.keywordRules, rules, true);
    k.keywordRules = rules;
    BuildKeywordHeads(k);
  }
}

}  // namespace quillmoor
