#include "ui/MainWindow.h"

#include "output/KeywordSearch.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "ui/KeywordBoxes.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Settings.h"

namespace quillmoor {
namespace {

void ListAgain(Program& p) {
  if (p.blnStartUpCompleted && p.blnWordsGot) ListWords(p);
  SetTheFocus(p);
}

}  // namespace

void optCreate_Click(Program& p) {
  MainControls& m = p.frmMain;
  m.optCreate.value = true;
  m.optSearch.value = false;
  SetListWordsCaption(p, p.GetProgramText(3));
  m.cmdFile[0].enabled = m.txbFile[0].enabled = true;
  for (int i : {1, 2}) m.cmdFile[i].enabled = m.txbFile[i].enabled = false;
  m.lblExtraKeywords.enabled = m.txbExtraKeywords.enabled = false;
  m.lblConcordanceFile[0].visible = m.lblConcordanceFile[1].visible = false;
}

void optSearch_Click(Program& p) {
  MainControls& m = p.frmMain;
  m.optSearch.value = true;
  m.optCreate.value = false;
  SetListWordsCaption(p, p.GetProgramText(4));
  m.txbFile[0].text = TrimSpaces(m.txbFile[0].text);
  if (m.txbFile[0].text.empty()) {
    MsgBox(p, "Input file not specified.", MsgButtons::kOK, MsgIcon::kExclamation,
           p.GetProgramText(34));
    optCreate_Click(p);
    return;
  }
  const bool concordance = p.blnConcordanceFileCreated && FileExists(p.strConcordanceFile);
  if (!concordance && !p.blnIndexFileCurrent) {
    MsgBox(p, p.GetProgramText(5), MsgButtons::kOK, MsgIcon::kInformation, "Search");
    m.lblConcordanceFilesize.visible = false;
    optCreate_Click(p);
    return;
  }
  m.cmdFile[0].enabled = m.txbFile[0].enabled = false;
  for (int i : {1, 2}) m.cmdFile[i].enabled = m.txbFile[i].enabled = true;
  m.lblExtraKeywords.enabled = m.txbExtraKeywords.enabled = true;
  if (FileExists(ResolveLowerCasedPath(Utf8Lower(TrimSpaces(m.txbFile[2].text))))) {
    AttemptToReadSearchWords(p);
  }
}

void cboWordOrder_Click(Program& p) { ListAgain(p); }
void chkFrequencies_Click(Program& p) { ListAgain(p); }
void chkShowLineBreaks_Click(Program& p) { ListAgain(p); }

void cboContextSize_Click(Program& p) {
  if (p.blnStartUpCompleted) {
    MainControls& m = p.frmMain;
    m.chkShowLineBreaks.enabled = m.cboContextSize.listIndex >= 1;
    p.intContextSize = static_cast<int16_t>(m.cboContextSize.listIndex);
    ListWords(p);
  }
  SetTheFocus(p);
}

void cmdClearFile_Click(Program& p, int index) {
  MainControls& m = p.frmMain;
  m.txbFile[index].text.clear();
  m.cmdClearFile[index].enabled = false;
  if (index == 0) {
    m.lblInputFilesize.caption.clear();
    m.chkUTF8[0].value = 0;
    m.chkUTF8[0].enabled = false;
    m.chkShowLineBreaks.enabled = false;
  } else if (index == 1) {
    m.lblSearchResultsFilesize.caption.clear();
  } else {
    p.strKeywordsFile.clear();
    EraseSearchWords(p);
    if (m.txbOutput.text.find("keywords loaded from") != std::string::npos) ClearOutput(p);
  }
  SetTheFocus(p);
}

void cmdClearExtraKeywords_Click(Program& p) {
  p.frmMain.txbExtraKeywords.text.clear();
  p.frmMain.cmdClearExtraKeywords.enabled = false;
  p.intNumExtraKeywords = 0;
}

void cmdQuit_Click(Program& p) {
  if (p.frmMain.chkSaveStateOnQuit.checked()) cmdSaveState_Click(p);
  // A run in progress sees the stop request at its next look; nothing it writes is
  // left half-done, because files are written whole or not at all.
  p.blnStop = true;
  p.host.EndProgram(0);
}

}  // namespace quillmoor
