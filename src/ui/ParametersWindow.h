// The parameters (settings) window's event handlers, on the controls model.
#ifndef QUILLMOOR_UI_PARAMETERSWINDOW_H_
#define QUILLMOOR_UI_PARAMETERSWINDOW_H_

#include <string>

#include "ui/Controls.h"

namespace quillmoor {

struct Program;

// Gives `button` (named `name`) the focus when it is visible and enabled; returns
// whether it did.
bool FocusIfAvailable(std::string& focus, const Button& button, const std::string& name);

// Word options and the threshold: the focus goes to Close (the threshold's only once
// start-up is over, since restoring the settings changes them too).
void chkWordOption_Click(Program& p);
void chkThreshold_Click(Program& p);

// The language window's accept caption for list index `index`.
std::string LanguageAcceptCaption(int index);

// Clear: no stop-word file; a short output text about stop words goes too.
void cmdClearStopWordsFile_Click(Program& p);
void cmdListStopWords_Click(Program& p);
// "Select file of stop words in some language": the language window, then that file.
void cmdSelectLanguageStopWords_Click(Program& p);
// "Select some other stop words file": the file dialog, then that file.
void cmdSelectOtherStopWords_Click(Program& p);
// Leaving the stop-word box: a new path is recorded (read later); the same path says
// it is loaded already.
void txbStopWordsFile_LostFocus(Program& p);
void cmdClearExtraStopWords_Click(Program& p);
// "Save settings to file" (0) and "Load settings from file" (1).
void cmdSaveLoadState_Click(Program& p, int index);
void cmdCloseParameters_Click(Program& p);
// "Quit" of this window: asks first.
void cmdQuitParameters_Click(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_PARAMETERSWINDOW_H_
