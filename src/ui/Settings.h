// Settings that persist: the options of both windows in a 20-line text file, the user
// settings file "oxn.usr" (in the per-user configuration folder) or a ".kvf" file.
//
// File layout (UTF-8, LF after each line; strings between double quotes, numbers as
// decimal digits): 1-3 input, search results and keywords file paths; 4-5 Create and
// Search mode (1/0); 6 extra stop words; 7 threshold list index; 8 ignore infrequent
// words; 9 hyphens; 10 numerals; 11 warn before overwriting; 12 save settings on quit;
// 13 show frequencies; 14 show line breaks; 15 word order index; 16 context size
// index; 17 stop-word file; 18 extra keywords; 19 index file; 20 Windows text output.
// Reading takes any line end; a file that is not valid UTF-8 is read as Windows-1252
// (files of earlier versions), and a file without line 20 keeps its default.
// Files are written to a new file beside the target, then renamed over it.
#ifndef QUILLMOOR_UI_SETTINGS_H_
#define QUILLMOOR_UI_SETTINGS_H_

#include <string>

namespace quillmoor {

struct Program;

// <$XDG_CONFIG_HOME or ~/.config>/<program text 310>/oxn.usr
std::string UserSettingsFile(const Program& p);

// Writes the settings to `strParameterFile` ("" = the user settings file, whose
// folder is made when missing). "" on success, else the error text.
std::string SaveState(const Program& p, const std::string& strParameterFile);
// Reads them back into the controls. "" on success, "Invalid combo box index", or
// "Error when attempting to restore settings: " and the reason; what was read before
// an error stays.
std::string RestoreSavedState(Program& p, const std::string& strParameterFile);

// The main window's "Save": the settings to the user settings file, then the pop-up.
void cmdSaveState_Click(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_SETTINGS_H_
