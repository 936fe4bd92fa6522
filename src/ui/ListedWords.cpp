#include "ui/ListedWords.h"

#include "engine/WordTable.h"
#include "output/KeywordSearch.h"
#include "settings/StopWords.h"
#include "ui/KeywordBoxes.h"
#include "ui/Program.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {

void SetExtraWordChars(Program& p) {
  p.strAllowedExtraChars = AllowedExtraWordChars(p.frmParams.chkAllowWordsWithHyphens.checked(),
                                                 p.frmParams.chkAllowWordsWithNumerals.checked());
}

void MarkIncludedWords(Program& p) {
  if (!p.frmMain.optCreate.value) {
    // Search: exactly the words the keywords ask for.
    if (p.intNumExtraKeywords > 0 || p.lngNumSearchWords > 0) BuildKeywordHeads(p);
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      WordRecord& r = p.arrWords[static_cast<size_t>(i)];
      r.blnIncluded = IsSearchWord(p, r.strWord);
    }
    return;
  }
  const bool hyphens = p.frmParams.chkAllowWordsWithHyphens.checked();
  const bool numerals = p.frmParams.chkAllowWordsWithNumerals.checked();
  const bool ignoreInfrequent = p.frmParams.chkIgnoreInfrequentWords.checked();
  const ExtraStopWords extra(p.strExtraStopWords);
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    r.blnIncluded = true;
    if (!IsWordAllowed(r.strWord, hyphens, numerals)) {
      r.blnIncluded = false;
    } else if (ignoreInfrequent && r.lngFrequency < p.intThresholdFrequency) {
      r.blnIncluded = false;
    } else if (IsStopWord(p, StopWordListNamed(p), extra, r.strWord)) {
      r.blnIncluded = false;
    }
  }
}

}  // namespace quillmoor
