// The extra-keywords box: any text is refused with a message or taken, and a word is
// a search word exactly when the classic recursive match takes it for one of the
// keywords' heads.
#include "FuzzSupport.h"
#include "engine/WordRules.h"
#include "output/KeywordSearch.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  Program& p = fuzz::StartedProgram();
  p.frmMain.txbExtraKeywords.text = parts.first;
  if (!GetExtraKeywords(p)) return 0;
  BuildKeywordHeads(p);
  const std::string& word = parts.second;
  if (word.size() > 64) return 0;  // the recursive match is exponential
  bool expected = false;
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j) {
    const std::string& head = p.strExtraKeywordHeads[static_cast<size_t>(j)];
    fuzz::Check(head.find('+') == std::string::npos, "a head holds a plus");
    if (head.size() <= 64) expected = expected || reference::Like(LowerCaseAccented(word), head);
  }
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j) {
    if (p.strExtraKeywordHeads[static_cast<size_t>(j)].size() > 64) return 0;
  }
  fuzz::Check(IsSearchWord(p, word) == expected, "IsSearchWord differs from the recursive match");
  return 0;
}
