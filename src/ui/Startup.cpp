#include "ui/Startup.h"

#include "input/Documents.h"
#include "input/TextFile.h"
#include "output/IndexFile.h"
#include "output/KeywordSearch.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "ui/Defaults.h"
#include "ui/IndexFiles.h"
#include "ui/InputFile.h"
#include "ui/KeywordBoxes.h"
#include "ui/Program.h"
#include "ui/Progress.h"
#include "ui/Settings.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {

void CheckRestoredInput(Program& p) {
  MainControls& m = p.frmMain;
  m.chkUTF8[0].value = 0;
  TextBox& input = m.txbFile[0];
  if (!CheckInputFile(p, input.text)) {
    input.text.clear();
    return;
  }
  if (DocumentFormatOf(GetFileExtension(input.text, true)) != DocumentFormat::kOther) {
    m.chkUTF8[0].value = 1;
    return;
  }
  if (IsDocxFile(input.text)) {
    m.chkUTF8[0].value = 1;
    m.chkShowLineBreaks.enabled = false;
    return;
  }
  bool utf8 = false;
  int16_t fileType = 0;
  CheckTextFile(p, input.text, false, utf8, fileType, false);
  if (utf8) m.chkUTF8[0].value = 1;
  if (!m.txbOutput.text.empty()) AppendOutput(p, std::string(kCrLf) + std::string(kCrLf));
  // The first timer tick enables them again.
  for (Button& b : m.cmdClearFile) b.enabled = false;
  m.cmdViewFile[1].enabled = m.cmdViewFile[2].enabled = false;
  const std::string& ext = p.strInputExtension;
  m.chkShowLineBreaks.enabled = !(ext == "xml" || ext == "html" || ext == "htm");
}

bool StartProgram(Program& p, const std::string& programFolder, bool restoreUserSettings) {
  p.blnStartUpCompleted = false;
  p.strProgramFolder = programFolder;
  if (!p.texts.LoadProgramText(p.host, programFolder)) return false;
  p.texts.intCurrentLanguage = ProgramText::kEnglish;
  FillLists(p);
  p.intMaxPermittedWordLength = 30;
  p.intTotalNumProgressBarChars = 40;
  InitializeVariables(p);
  if (restoreUserSettings && !RestoreSavedState(p, "").empty()) InitializeVariables(p);
  ConcealNumWords(p, true);
  txbExtraKeywords_LostFocus(p);  // takes over the restored extra keywords
  if (!p.blnStopWordsGivenByCaller) {
    if (p.frmParams.txbStopWordsFile.text.empty()) SetPathToCWDs_Eng(p);
    AttemptToReadStopWords(p);
  }
  CheckRestoredInput(p);
  if (!p.frmMain.txbFile[0].text.empty()) LoadIndexIfPresent(p);
  ConcealNumWords(p, true);
  EnableControls(p, true);
  SetTheFocus(p);
  p.blnStartUpCompleted = true;
  return true;
}

}  // namespace quillmoor
