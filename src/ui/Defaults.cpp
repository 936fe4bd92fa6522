#include "ui/Defaults.h"

#include "settings/StopWords.h"
#include "ui/Program.h"
#include "ui/Settings.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {

void FillLists(Program& p) {
  p.frmParams.cmdClose.caption = "Close";
  MainControls& m = p.frmMain;
  m.cboWordOrder.items = {"alphabetical", "by frequency"};
  m.cboContextSize.items.clear();
  for (int n = 0; n <= 9; ++n) m.cboContextSize.items.push_back(" " + std::to_string(n));
  m.cboContextSize.listIndex = 5;
  p.frmParams.cboThresholdFrequency.items.clear();
  for (int n = 2; n <= 20; ++n)
    p.frmParams.cboThresholdFrequency.items.push_back(std::to_string(n));
  p.frmParams.cboThresholdFrequency.listIndex = 0;
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
  ParamsControls& params = p.frmParams;
  params.cboThresholdFrequency.listIndex = 0;
  params.chkIgnoreInfrequentWords.value = 0;
  params.chkAllowWordsWithHyphens.value = 1;
  params.chkAllowWordsWithNumerals.value = 0;
  params.chkWindowsText.value = 0;
  params.strWordRules = "automatic";
  params.strEncoding.clear();
  params.strSortLanguage.clear();
  params.txbStopWordsFile.text.clear();
  params.txbExtraStopWords.text.clear();
  p.blnWordsGot = false;
  p.blnStopWordsLoaded = false;
  p.blnSearchWordsExist = false;
  m.lblInputFilesize.caption.clear();
  m.lblConcordanceFilesize.caption.clear();
  m.lblIndexFilesize.caption.clear();
  m.lblSearchResultsFilesize.caption.clear();
  m.lblTwirler.caption = " ";
  p.strInputExtension.clear();
  p.strUserSettingsFile = UserSettingsFile(p);
}

void cmdInitialize_Click(Program& p) {
  InitializeVariables(p);
  if (p.frmParams.txbStopWordsFile.text.empty()) SetPathToCWDs_Eng(p);
  AttemptToReadStopWords(p);
  p.frmParams.lblParameters.caption = "Program reinitialized.";
  p.frmParams.txbParametersFile.visible = false;
  p.host.ShowWindow(WindowId::kParameters, true);
}

}  // namespace quillmoor
