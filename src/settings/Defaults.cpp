#include "settings/Defaults.h"

#include "shared/Program.h"

namespace quillmoor {

void FillLists(Program& p) {
  MainControls& m = p.frmMain;
  m.cboWordOrder.items = {"alphabetical", "by frequency"};
  m.cboContextSize.items.clear();
  for (int n = 0; n <= 9; ++n) m.cboContextSize.items.push_back(" " + std::to_string(n));
  m.cboContextSize.listIndex = 5;
}

void InitializeVariables(Program& p) {
  MainControls& m = p.frmMain;
  m.optCreate.value = true;
  m.optSearch.value = false;
  for (TextBox& box : m.txbFile) box.text.clear();
  m.txbExtraKeywords.text.clear();
  m.chkUTF8[0].value = 0;
  m.chkFrequencies.value = 1;
  m.chkShowLineBreaks.value = 1;
  m.cboWordOrder.listIndex = 0;
  m.cboContextSize.listIndex = 5;
  m.cmdFile[1].enabled = m.txbFile[1].enabled = m.cmdClearFile[1].enabled = false;
  p.blnWordsGot = false;
  m.lblInputFilesize.caption.clear();
  m.lblConcordanceFilesize.caption.clear();
  m.lblIndexFilesize.caption.clear();
  m.lblSearchResultsFilesize.caption.clear();
  m.lblTwirler.caption = " ";
  p.strInputExtension.clear();
}

void cmdInitialize_Click(Program& p) { InitializeVariables(p); }

}  // namespace quillmoor
