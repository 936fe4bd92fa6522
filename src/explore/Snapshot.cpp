#include "explore/Snapshot.h"

#include <algorithm>

#include "input/Markup.h"
#include "shared/Program.h"

namespace quillmoor {

bool ExplorerAvailable(const Program& p) {
  return (p.blnWordsGot || p.blnIndexFileCurrent) && p.lngNumWords > 0 && !p.strLine1.empty() &&
         p.frmMain.cmdSetParameters.enabled;
}

std::string ExploreText(const Program& p) {
  return p.blnCharacterEntitiesPossible ? DecodeCharacterEntities(p.strLine1) : p.strLine1;
}

ExploreSnapshot TakeExploreSnapshot(const Program& p) {
  ExploreSnapshot s;
  s.numWords = p.lngNumWords;
  s.words.assign(p.arrWords.begin(), p.arrWords.begin() + std::min<size_t>(p.arrWords.size(), p.lngNumWords + 1));
  s.text = ExploreText(p);
  s.contextSize = std::max(1, static_cast<int>(p.frmMain.cboContextSize.listIndex));
  s.input = p.frmMain.txbFile[0].text;
  return s;
}

}  // namespace quillmoor
