// wordlist: the listed words and their frequencies.
#include <string>

#include "cli/CommandSupport.h"
#include "shared/Cp1252.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {

// The words listed, in the chosen order, as "word<TAB>frequency" lines.
static std::string WordListText(const Program& p) {
  std::string out;
  auto line = [&out, &p](const WordRecord& r) {
    AppendEngineTextAsUtf8(p.wordRules, r.strWord, &out);
    out += '\t';
    out += std::to_string(r.lngFrequency);
    out += '\n';
  };
  if (p.frmMain.cboWordOrder.listIndex == 0) {
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[static_cast<size_t>(i)].blnIncluded) line(p.arrWords[static_cast<size_t>(i)]);
    }
  } else {
    for (int32_t i = p.lngFirstFreq; i != 0; i = p.arrWords[static_cast<size_t>(i)].lngNextByFreq) {
      line(p.arrWords[static_cast<size_t>(i)]);
    }
  }
  return out;
}

int RunWordList(CommandRun& run) {
  Program& p = run.p;
  p.blnStopAfterCounts = true;
  // The text is never shown; an index file written meanwhile needs its display copy.
  p.blnNoDisplayCopy = !p.frmMain.chkCreateIndexFile.checked();
  cmdListWords_Click(p);
  p.blnNoDisplayCopy = false;
  if (!p.blnWordsGot) return kExitRefused;  // refused, or stopped
  const MainControls& m = p.frmMain;
  std::string counts = m.lblNumberOfWords.caption;
  if (!m.lblNumOccurrences.caption.empty()) counts += "\n" + m.lblNumOccurrences.caption;
  run.terminal.Say(counts);
  const std::string text = WordListText(p);
  return WriteOutput(run, "word list", [&text](const PieceWriter& write) { write(text); });
}

}  // namespace quillmoor
