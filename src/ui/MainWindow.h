// The main window's small event handlers, on the controls model: the two modes, the
// listing options, the Clear buttons and Quit.
#ifndef QUILLMOOR_UI_MAINWINDOW_H_
#define QUILLMOOR_UI_MAINWINDOW_H_

namespace quillmoor {

struct Program;

void optCreate_Click(Program& p);
// Search mode needs an input file with a concordance (or index) file made for it;
// otherwise the mode stays Create, with the reason.
void optSearch_Click(Program& p);
// Word order, frequencies, line breaks: list again with the new setting when the words
// of the input are held.
void cboWordOrder_Click(Program& p);
void chkFrequencies_Click(Program& p);
void chkShowLineBreaks_Click(Program& p);
void cboContextSize_Click(Program& p);
void cmdClearFile_Click(Program& p, int index);
void cmdClearExtraKeywords_Click(Program& p);
// Quit: a run in progress is stopped first; then the program ends.
void cmdQuit_Click(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_MAINWINDOW_H_
