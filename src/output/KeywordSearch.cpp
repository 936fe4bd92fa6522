#include "output/KeywordSearch.h"

#include <algorithm>

#include "engine/UnicodeWords.h"
#include "engine/WildcardMatch.h"
#include "engine/WordRules.h"
#include "output/Kwic.h"
#include "shared/Cp1252.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// True when one of the pieces of `line` between single spaces, compared whole,
// matches `pattern`.
bool HasPieceMatching(std::string_view line, std::string_view pattern, bool utf8) {
  for (size_t start = 0;;) {
    const size_t space = line.find(' ', start);
    const size_t end = space == std::string_view::npos ? line.size() : space;
    if (MatchesPatternIn(utf8, line.substr(start, end - start), pattern)) return true;
    if (space == std::string_view::npos) return false;
    start = space + 1;
  }
}

// The part of a keyword before its first "+", and after it.
std::string_view HeadOf(std::string_view keyword) { return keyword.substr(0, keyword.find('+')); }

}  // namespace

int32_t FindFirstCharNotIn(std::string_view s, int32_t start, std::string_view set) {
  if (s.empty()) return 0;
  if (set.empty()) return 1;
  for (size_t i = static_cast<size_t>(std::max(start, 1)) - 1; i < s.size(); ++i) {
    if (set.find(s[i]) == std::string_view::npos) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

bool IsPlainKeyword(std::string_view word, std::string_view extra) {
  return std::all_of(word.begin(), word.end(), [extra](char c) {
    return kAllLetters.find(c) != std::string_view::npos || extra.find(c) != std::string_view::npos;
  });
}

std::string CountInWords(int32_t count) {
  static const char* const kUnits[] = {"No",      "One",     "Two",       "Three",    "Four",
                                       "Five",    "Six",     "Seven",     "Eight",    "Nine",
                                       "Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                       "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
  static const char* const kTens[] = {"",      "",      "Twenty",  "Thirty", "Forty",
                                      "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
  if (count >= 0 && count < 20) return kUnits[count];
  if (count >= 20 && count < 100) {
    std::string words = kTens[count / 10];
    if (count % 10 != 0) words += " " + AsciiLower(kUnits[count % 10]);
    return words;
  }
  return FormatNumber(count, 0);
}

void BuildKeywordHeads(KeywordLists& p) {
  p.strExtraKeywordHeads.assign(1, std::string());
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j) {
    p.strExtraKeywordHeads.emplace_back(HeadOf(p.strExtraKeywordList[static_cast<size_t>(j)]));
  }
}

bool IsSearchWord(const KeywordLists& p, const std::string& word) {
  if (p.intNumExtraKeywords == 0 && p.lngNumSearchWords == 0) return false;
  const bool utf8 = p.keywordRules == WordRuleSet::kUnicode;
  const std::string w = utf8 ? LowerUnicodeText(word) : LowerCaseAccented(word);
  const int32_t heads = std::min<int32_t>(p.intNumExtraKeywords,
                                          static_cast<int32_t>(p.strExtraKeywordHeads.size()) - 1);
  for (int32_t j = 1; j <= heads; ++j) {
    if (MatchesPatternIn(utf8, w, p.strExtraKeywordHeads[static_cast<size_t>(j)])) return true;
  }
  if (p.lngNumSearchWords < 1) return false;
  const auto begin = p.strSearchWords.begin() + 1;
  return std::binary_search(begin, begin + p.lngNumSearchWords, w);
}

// ---------------------------------------------------------------------------------
// KeywordSelection

KeywordSelection::KeywordSelection(std::vector<std::string> searchWords,
                                   std::vector<std::string> extraKeywords)
    : searchWords_(std::move(searchWords)) {
  for (const std::string& keyword : extraKeywords) {
    Extra e;
    e.head = HeadOf(keyword);
    e.hasTail = e.head.size() < keyword.size();
    if (e.hasTail) e.tail = keyword.substr(e.head.size() + 1);
    extras_.push_back(std::move(e));
  }
}

KeywordSelection KeywordSelection::Of(const KeywordLists& p) {
  const auto words = p.strSearchWords.begin() + 1;
  const auto extras = p.strExtraKeywordList.begin() + 1;
  KeywordSelection selection(std::vector<std::string>(words, words + p.lngNumSearchWords),
                             std::vector<std::string>(extras, extras + p.intNumExtraKeywords));
  selection.utf8_ = p.keywordRules == WordRuleSet::kUnicode;
  return selection;
}

void KeywordSelection::AppendSelectedLines(std::string_view word, const ContextLines& lines,
                                           std::string& out) const {
  auto emit = [&out, &lines](int32_t k) {
    out += "... ";
    out += lines.line(k);
    out += kCrLf;
  };
  if (std::binary_search(searchWords_.begin(), searchWords_.end(), word)) {
    for (int32_t k = 0; k < lines.size(); ++k) emit(k);
    return;
  }
  // The lines in lower case, made once for the word when a tail first needs them.
  std::vector<std::string> lower;
  for (const Extra& e : extras_) {
    if (!MatchesPatternIn(utf8_, word, e.head)) continue;
    if (e.hasTail && lower.empty()) {
      for (int32_t k = 0; k < lines.size(); ++k) {
        lower.push_back(utf8_ ? LowerUnicodeText(lines.line(k)) : LowerCaseAccented(lines.line(k)));
      }
    }
    for (int32_t k = 0; k < lines.size(); ++k) {
      if (!e.hasTail || HasPieceMatching(lower[static_cast<size_t>(k)], e.tail, utf8_)) emit(k);
    }
  }
}

}  // namespace quillmoor
