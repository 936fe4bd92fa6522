// The extra-keywords box: any text is refused with a message or taken, and a word is
// a search word exactly when the recursive match takes it for one of the keywords'
// heads.
#include "FuzzSupport.h"
#include "engine/WordRules.h"
#include "output/KeywordSearch.h"
#include "ui/KeywordBoxes.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  Program& p = fuzz::StartedProgram();
  p.frmMain.txbExtraKeywords.text = parts.first;
  if (!GetExtraKeywords(p)) return 0;
  BuildKeywordHeads(p);
  const std::string& word = parts.second;
  bool expected = false;
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j) {
    const std::string& head = p.strExtraKeywordHeads[static_cast<size_t>(j)];
    fuzz::Check(head.find('+') == std::string::npos, "a head holds a plus");
    expected = expected || fuzz::Like(LowerCaseAccented(word), head);
  }
  fuzz::Check(IsSearchWord(p, word) == expected, "IsSearchWord differs from the recursive match");
  return 0;
}
