// Keyword search: which words a search lists, and which of their context lines.
//
// Keywords come from two sources that can be combined:
//  - a keywords file (a word-list file; letters-only words, lower-cased, sorted, held
//    in p.strSearchWords[1..lngNumSearchWords]);
//  - the extra-keywords box, whose query language is: keywords separated by spaces,
//    lower-cased, every "'s" removed; wildcards "*", "?" and "#"; "head+tail" lists a
//    word matching head only in context lines holding a piece that matches tail. The
//    accepted keywords are p.strExtraKeywordList[1..intNumExtraKeywords], sorted.
// A word is listed when it is a keyword of the file or matches the head of an extra
// keyword. A keyword of the file lists all of the word's lines; otherwise each extra
// keyword whose head matches lists its lines (all of them, or those holding its tail),
// one keyword after the other, so a line can be listed more than once.
#ifndef QUILLMOOR_OUTPUT_KEYWORDSEARCH_H_
#define QUILLMOOR_OUTPUT_KEYWORDSEARCH_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shared/WordRuleSet.h"

namespace quillmoor {

class ContextLines;

// 1-based position of the first character of s, from `start` on, that is not in
// `set`; 0 when there is none or s is empty, 1 when `set` is empty.
int32_t FindFirstCharNotIn(std::string_view s, int32_t start, std::string_view set);
// True when every character of `word` is a letter (either case) or in `extra`.
bool IsPlainKeyword(std::string_view word, std::string_view extra);
// "No", "One" ... "Nineteen", "Twenty", "Twenty one" ... "Ninety nine", then digits
// with grouping ("2,500").
std::string CountInWords(int32_t count);

// The keywords of a search: those of the keywords file strSearchWords[1..
// lngNumSearchWords] (sorted, no duplicates) and the extra keywords strExtraKeywordList[1..
// intNumExtraKeywords] (sorted) with their heads (the part before "+"), rebuilt when the
// included words are marked. Element 0 of each list is unused.
struct KeywordLists {
  std::vector<std::string> strSearchWords{std::string()};
  int32_t lngNumSearchWords = 0;
  std::vector<std::string> strExtraKeywordList{std::string()};
  std::vector<std::string> strExtraKeywordHeads{std::string()};
  int32_t intNumExtraKeywords = 0;
  bool blnSearchWordsLoaded = false;
  bool blnSearchWordsExist = false;  // extra keywords were accepted
  std::string strSearchWordsFile;    // the keywords file read, lower case
  // The engine text of the keywords (UTF-8 under the Unicode rules).
  WordRuleSet keywordRules = WordRuleSet::kWindows1252;
};

// The part of each extra keyword before its "+" (the keyword itself without one).
void BuildKeywordHeads(KeywordLists& k);
// True when `word` is a keyword of the file or matches the head of an extra keyword.
bool IsSearchWord(const KeywordLists& k, const std::string& word);

// The keywords of one listing, taken when it starts; read-only while entries are made
// (on several threads).
class KeywordSelection {
 public:
  KeywordSelection() = default;
  // `searchWords` sorted (as strSearchWords, without its unused element 0);
  // `extraKeywords` as accepted.
  KeywordSelection(std::vector<std::string> searchWords, std::vector<std::string> extraKeywords);
  // The keywords of the current search `k`.
  static KeywordSelection Of(const KeywordLists& k);

  // Appends "... line" CR LF for each of `lines` that the search lists for `word`.
  void AppendSelectedLines(std::string_view word, const ContextLines& lines,
                           std::string& out) const;

 private:
  struct Extra {
    std::string head;
    std::string tail;
    bool hasTail = false;
  };
  std::vector<std::string> searchWords_;
  std::vector<Extra> extras_;
  bool utf8_ = false;  // the keywords and lines are UTF-8
};

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_KEYWORDSEARCH_H_
