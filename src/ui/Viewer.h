// The viewer window (the help text), opening files and web pages with the desktop's
// default programs, and the View buttons of the main window.
#ifndef QUILLMOOR_UI_VIEWER_H_
#define QUILLMOOR_UI_VIEWER_H_

#include <string>

namespace quillmoor {

struct Program;

inline constexpr size_t kViewerMaxChars = 65530;
inline constexpr const char* kHelpFileName = "oxn_help.txt";

// "Help": the help text beside the program in the viewer window.
void cmdHelp_Click(Program& p);
// The viewer shows p.strViewFilename: the whole file when it is shorter than 65530
// characters, else its start between two notes (65530 characters in all). A file that
// cannot be read leaves the box as it was.
void FormView_Activate(Program& p);
// The viewer's size rule: at least 4000 x 3000 twips.
void FormView_Resize(Program& p);
void cmdClose_Click(Program& p);

// Opens a file with its associated program; false (after the message, when asked)
// when the desktop could not.
bool OpenWithAssociatedProgram(const Program& p, const std::string& path, bool blnShowError,
                               bool blnMentionAssociation);
// Opens an address in the web browser; a file name without a scheme is taken in the
// program's folder.
void OpenWebPage(const Program& p, const std::string& address);
void cmdViewFile_Click(const Program& p, int index);
void lblOnlineDocumentation_Click(const Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_VIEWER_H_
