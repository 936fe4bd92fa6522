// The extra-keywords box: any text is refused with a message or taken, and a word is
// a search word exactly when the recursive match takes it for one of the keywords'
// heads.
#include "FuzzSupport.h"
#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "shared/Utf8.h"
#include "support/Reference.h"
#include "output/KeywordSearch.h"
#include "ui/KeywordBoxes.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  Program& p = fuzz::StartedProgram();
  p.keywordRules = WordRuleSet::kWindows1252;
  p.intNumExtraKeywords = 0;
  p.frmMain.txbExtraKeywords.text = parts.first;
  if (!GetExtraKeywords(p)) return 0;
  BuildKeywordHeads(p);
  // Keywords beyond Windows-1252 put the lists in UTF-8, where the table's words are
  // UTF-8 too.
  const bool utf8 = p.keywordRules == WordRuleSet::kUnicode;
  if (utf8 && !IsValidUtf8(parts.second)) return 0;
  const std::string word = utf8 ? LowerUnicodeText(parts.second) : parts.second;
  bool expected = false;
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j) {
    const std::string& head = p.strExtraKeywordHeads[static_cast<size_t>(j)];
    fuzz::Check(head.find('+') == std::string::npos, "a head holds a plus");
    expected = expected || (utf8 ? reference::LikeUtf8(word, head)
                                 : fuzz::Like(LowerCaseAccented(word), head));
  }
  fuzz::Check(IsSearchWord(p, word) == expected, "IsSearchWord differs from the recursive match");
  return 0;
}
