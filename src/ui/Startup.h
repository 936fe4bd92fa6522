// Start-up of the program: what the main window does before it takes input.
#ifndef QUILLMOOR_UI_STARTUP_H_
#define QUILLMOOR_UI_STARTUP_H_

#include <string>

namespace quillmoor {

struct Program;

// Loads the program texts (a failure ends the program), fills the lists, sets the
// defaults (and, with `restoreUserSettings`, the options saved in the user settings
// file; a file that cannot be read gives the defaults silently), loads the stop words
// (the English file when none is named) and marks start-up complete. False when the
// program texts could not be loaded.
bool StartProgram(Program& p, const std::string& programFolder, bool restoreUserSettings = false);

// Start-up's check of the input file named when the program starts (as the saved
// settings restore it): a missing file is dropped from the box in silence; a text
// file is checked as when it is chosen (its UTF-8 box set).
void CheckRestoredInput(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_STARTUP_H_
