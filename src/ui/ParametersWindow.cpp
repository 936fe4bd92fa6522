#include "ui/ParametersWindow.h"

#include <vector>

#include "engine/WordRules.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "ui/Defaults.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/Progress.h"
#include "ui/Settings.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {
namespace {

// Reads the stop-word file p.strStopWordsFile names, as both Select buttons do.
void UseStopWordFile(Program& p) {
  p.frmParams.txbStopWordsFile.text = p.strStopWordsFile;
  AttemptToReadStopWords(p);
  ConcealNumWords(p, true);
}

}  // namespace

bool FocusIfAvailable(std::string& focus, const Button& button, const std::string& name) {
  if (!button.visible || !button.enabled) return false;
  focus = name;
  return true;
}

namespace {
void FocusClose(Program& p) {
  FocusIfAvailable(p.frmParams.focus, p.frmParams.cmdClose, "cmdClose");
}
}  // namespace

void chkWordOption_Click(Program& p) { FocusClose(p); }

void chkThreshold_Click(Program& p) {
  if (p.blnStartUpCompleted) FocusClose(p);
}

std::string LanguageAcceptCaption(int index) {
  return index == 6 || index == 7 ? "Load stop words file for these languages"
                                  : "Load stop words file for this language";
}

void cmdClearStopWordsFile_Click(Program& p) {
  p.frmParams.txbStopWordsFile.text.clear();
  EraseStopWords(p);
  std::string& output = p.frmMain.txbOutput.text;
  TrimControlChars(output);
  if (output.size() < 100 && output.find("stop") != std::string::npos) output.clear();
  RefreshOutput(p);
}

void cmdListStopWords_Click(Program& p) { ListStopWords(p); }

void cmdSelectLanguageStopWords_Click(Program& p) {
  std::vector<std::string> choices(p.texts.arrLanguageChoices.begin(),
                                   p.texts.arrLanguageChoices.begin() + 6);
  choices.push_back("English and German");
  choices.push_back("All six languages");
  for (const StopWordLanguage& language : kMoreStopWordLanguages) choices.push_back(language.name);
  const int index = p.host.SelectLanguage(choices);
  if (index < 0 || index >= static_cast<int>(choices.size())) return;
  p.strStopWordsFile =
      JoinPath(p.strProgramFolder, index < 8 ? p.texts.arrStopWordFiles[static_cast<size_t>(index)]
                                             : StopWordFileName(kMoreStopWordLanguages[index - 8]));
  UseStopWordFile(p);
  p.host.ShowWindow(WindowId::kParameters, true);
}

void cmdSelectOtherStopWords_Click(Program& p) {
  FileDialog dialog;
  dialog.title = "Specify file of stop words (words to ignore)";
  dialog.filter = "Any file containing only text (*.*) | *.*";
  dialog.flags = 0x1804u;
  const std::string name = p.host.AskFileName(dialog);
  if (!name.empty()) {
    // Paths here have no drive letter: the whole path is lower-cased (and found again
    // without regard to case when it is read).
    p.strStopWordsFile = LowerCaseAccented(name);
    UseStopWordFile(p);
  }
  FocusClose(p);
  p.host.ShowWindow(WindowId::kParameters, true);
}

void txbStopWordsFile_LostFocus(Program& p) {
  TextBox& box = p.frmParams.txbStopWordsFile;
  box.text = TrimSpaces(box.text);
  if (box.text != p.strStopWordsFile) {
    p.strStopWordsFile = box.text;
    p.blnStopWordsLoaded = false;
    return;
  }
  MsgBox(p,
         "This file has already been loaded.  Click on 'Clear' "
         "and re-select the file if it has been changed on disk.",
         MsgButtons::kOK, MsgIcon::kNone, "Stop words loaded");
}

void cmdClearExtraStopWords_Click(Program& p) {
  p.frmParams.txbExtraStopWords.text.clear();
  FocusClose(p);
}

void cmdSaveLoadState_Click(Program& p, int index) {
  ParamsControls& s = p.frmParams;
  FileDialog dialog;
  dialog.mode = index == 0 ? FileDialogMode::kSave : FileDialogMode::kOpen;
  dialog.title =
      index == 0 ? "Specify file to save settings to" : "Specify file to load settings from.";
  dialog.filter = "Settings files (*.kvf) | *.kvf";
  dialog.flags = index == 0 ? 0x8806u : 0x1804u;
  const std::string name = p.host.AskFileName(dialog);
  if (name.empty()) return;
  s.lblParameters.caption.clear();
  s.txbParametersFile.text = name;
  s.txbParametersFile.visible = true;
  if (index == 0) {
    const std::string result = SaveState(p, name);
    if (result.empty()) {
      s.lblParameters.caption = "Settings saved to";
    } else {
      MsgBox(p, result, MsgButtons::kOK, MsgIcon::kExclamation, "Save settings");
      s.lblParameters.caption = "Error saving to";
    }
    return;
  }
  const std::string result = RestoreSavedState(p, name);
  if (result.empty()) {
    s.lblParameters.caption = "Settings loaded from";
  } else {
    MsgBox(p, result, MsgButtons::kOK, MsgIcon::kExclamation, "Load settings");
    s.lblParameters.caption = "Error loading from";
    InitializeVariables(p);
  }
}

void cmdCloseParameters_Click(Program& p) {
  p.host.ShowWindow(WindowId::kParameters, false);
  SetTheFocus(p);
}

void cmdQuitParameters_Click(Program& p) {
  if (MsgBox(p, "Really quit?", MsgButtons::kYesNo, MsgIcon::kNone, "Quit") == MsgResult::kYes) {
    cmdQuit_Click(p);
  }
}

}  // namespace quillmoor
