#include "ui/Snapshot.h"

#include <algorithm>

#include "engine/WordTable.h"
#include "input/Markup.h"
#include "settings/StopWords.h"
#include "ui/Program.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {

bool ExplorerAvailable(const Program& p) {
  return (p.blnWordsGot || p.blnIndexFileCurrent) && p.lngNumWords > 0 && !p.strLine1.empty() &&
         p.frmMain.cmdSetParameters.enabled;
}

std::string ExploreText(const Program& p) {
  return p.blnCharacterEntitiesPossible
             ? DecodeCharacterEntities(p.strLine1, p.wordRules == WordRuleSet::kUnicode)
             : p.strLine1;
}

ExploreSnapshot TakeExploreSnapshot(const Program& p) {
  ExploreSnapshot s;
  s.numWords = p.lngNumWords;
  s.words.assign(p.arrWords.begin(),
                 p.arrWords.begin() + std::min<size_t>(p.arrWords.size(), p.lngNumWords + 1));
  s.text = ExploreText(p);
  s.utf8 = p.wordRules == WordRuleSet::kUnicode;
  s.pages = p.pages;
  s.contextSize = std::max(1, static_cast<int>(p.frmMain.cboContextSize.listIndex));
  s.input = p.frmMain.txbFile[0].text;
  s.flags = TakeWordFlags(p);
  return s;
}

WordFlags TakeWordFlags(const Program& p) {
  WordFlags flags;
  const size_t n = static_cast<size_t>(std::max(0, p.lngNumWords)) + 1;
  flags.allowed.assign(n, false);
  flags.stop.assign(n, false);
  const bool hyphens = p.frmParams.chkAllowWordsWithHyphens.checked();
  const bool numerals = p.frmParams.chkAllowWordsWithNumerals.checked();
  const ExtraStopWords extra(p.strExtraStopWords);
  for (size_t i = 1; i < n && i < p.arrWords.size(); ++i) {
    const std::string& word = p.arrWords[i].strWord;
    flags.allowed[i] = IsWordAllowed(word, hyphens, numerals);
    flags.stop[i] = IsStopWord(p, StopWordListNamed(p), extra, word);
  }
  return flags;
}

std::vector<bool> WordFlags::Candidates(bool stopWords) const {
  std::vector<bool> out(allowed.size());
  for (size_t i = 0; i < out.size(); ++i) out[i] = allowed[i] && (stopWords || !stop[i]);
  return out;
}

ExploreSource RunSource(const Program& p) {
  return {&p.arrWords, p.lngNumWords, p.strLine1, p.wordRules == WordRuleSet::kUnicode, &p.pages};
}

}  // namespace quillmoor
