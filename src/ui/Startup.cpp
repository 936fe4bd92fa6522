#include "ui/Startup.h"

#include "settings/Defaults.h"
#include "settings/StopWords.h"
#include "shared/Program.h"
#include "ui/Progress.h"

namespace quillmoor {

bool StartProgram(Program& p, const std::string& programFolder) {
  p.blnStartUpCompleted = false;
  p.strProgramFolder = programFolder;
  if (!p.texts.LoadProgramText(p.host, programFolder)) return false;
  p.texts.intCurrentLanguage = ProgramText::kEnglish;
  FillLists(p);
  p.intMaxPermittedWordLength = 30;
  p.intTotalNumProgressBarChars = 40;
  InitializeVariables(p);
  ConcealNumWords(p, true);
  if (p.frmParams.txbStopWordsFile.text.empty()) SetPathToCWDs_Eng(p);
  AttemptToReadStopWords(p);
  p.frmMain.chkUTF8[0].value = 0;
  EnableControls(p, true);
  SetTheFocus(p);
  p.blnStartUpCompleted = true;
  return true;
}

}  // namespace quillmoor
