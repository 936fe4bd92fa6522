// The program's defaults and the parameters window's Reinitialize action.
#ifndef QUILLMOOR_UI_DEFAULTS_H_
#define QUILLMOOR_UI_DEFAULTS_H_

namespace quillmoor {

struct Program;

// Fills the main window's lists (word order, context size).
void FillLists(Program& p);

// Sets every option to its default: Create mode, empty file boxes, UTF-8 unchecked,
// frequencies and line breaks shown, alphabetical order, context size 5. Leaves the
// overwrite warning, save-on-quit and index-file boxes alone.
void InitializeVariables(Program& p);

// "Reinitialize": the defaults again and the English stop words, shown in the
// parameters window (also used when a file check fails unexpectedly).
void cmdInitialize_Click(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_DEFAULTS_H_
