#include "ui/Listing.h"

#include "shared/Cp1252.h"
#include "shared/WordRuleSet.h"
#include "ui/Program.h"

namespace quillmoor {

// The keywords that select the lines in Search mode; none in Create mode.
const KeywordSelection* SearchOf(const Program& p) {
  return p.frmMain.optCreate.value ? nullptr : &p.keywordSelection;
}

KwicOptions ListingOptions(const Program& p) {
  return KwicOptions{p.intContextSize, p.blnShowFrequencies, p.blnShowLineBreaks,
                     p.wordRules == WordRuleSet::kUnicode};
}

void DisplayNextWord(Program& p, int32_t lngI, std::string& strOutput) {
  const size_t before = strOutput.size();
  p.kwicWriter.AppendEntry(p.arrWords, p.strLine1, ListingOptions(p), SearchOf(p), lngI, strOutput);
  // Without context the output box shows each word's line as it is listed.
  if (p.intContextSize == 0)
    p.frmMain.txbOutput.text =
        EngineTextAsUtf8(p.wordRules, std::string_view(strOutput).substr(before));
}

}  // namespace quillmoor
