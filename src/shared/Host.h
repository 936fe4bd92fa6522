// The Host port: everything the core needs from a person or the platform.
//
// The core calls these to show message boxes, let pending window events run, repaint
// a control at once, ask for a file name, open a file with its associated program,
// show or hide a window, and end the program. The desktop program implements them
// with the toolkit, the command line with the terminal, and tests with ScriptedHost.
#ifndef QUILLMOOR_SHARED_HOST_H_
#define QUILLMOOR_SHARED_HOST_H_

#include <string>
#include <vector>

namespace quillmoor {

enum class MsgIcon { kNone, kInformation, kExclamation, kCritical };
enum class MsgButtons { kOK, kYesNo, kYesNoCancel };
enum class MsgResult { kOK, kYes, kNo, kCancel };

// One modal message box. `defaultButton` is 1-based among the buttons shown
// (Yes/No with defaultButton 2 has No as the default).
struct MessageBox {
  std::string prompt;  // UTF-8; lines separated by CR LF
  std::string title;
  MsgIcon icon = MsgIcon::kNone;
  MsgButtons buttons = MsgButtons::kOK;
  int defaultButton = 1;
};

// The button a box answers with when nobody presses one: its default button.
MsgResult DefaultAnswer(const MessageBox& box);

enum class FileDialogMode { kOpen, kSave };

struct FileDialog {
  FileDialogMode mode = FileDialogMode::kOpen;
  std::string title;
  std::string filter;    // as the program sets it; may be empty
  unsigned flags = 0;    // the program's option flags (1800 hex: path and file must exist)
  std::string fileName;  // the initial name
  std::string folder;    // the folder the dialog opens in ("" = the system's choice)
};

// A short message in a small window of its own, closed by its timer or a click.
// Sizes and positions in twips (15 to a pixel), the interval in milliseconds.
struct PopUpMessage {
  std::string message;
  int width = 2400;
  int height = 300;
  int interval = 2000;
  int top = 6500;
  int left = 5200;
};

// The other windows the core can show or hide.
enum class WindowId { kParameters, kLanguageSelection, kPopUp, kView, kHelp };

class Host {
 public:
  virtual ~Host() = default;

  // Shows a modal message box and returns the button pressed.
  virtual MsgResult ShowMessage(const MessageBox& box) = 0;
  // Lets pending window events run (a stop request can arrive here). Called per word
  // in long loops, so it must cost next to nothing when nothing is pending.
  virtual void DoEvents() = 0;
  // Repaints a control now. `control` is the control's name (such as "txbOutput"),
  // `text` its current text or caption.
  virtual void Refresh(const std::string& control, const std::string& text) = 0;
  // Shows a file dialog; returns the chosen path text or "" when cancelled.
  virtual std::string AskFileName(const FileDialog& dialog) = 0;
  // Opens a file or address with its associated program; a result above 32 is success.
  virtual int ShellOpen(const std::string& target) = 0;
  virtual void ShowWindow(WindowId window, bool visible) = 0;
  // Shows the pop-up message modally; returns when it has closed.
  virtual void PopUp(const PopUpMessage& popUp) = 0;
  // Shows the stop-word language window modally: the index chosen in `choices`
  // (0 to 7), or -1 when cancelled.
  virtual int SelectLanguage(const std::vector<std::string>& choices) = 0;
  // Ends the program. The desktop and command-line hosts do not return from it.
  virtual void EndProgram(int exitCode) = 0;
};

// Shows a message box on `host` and returns the answer.
MsgResult MsgBox(Host& host, const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                 const std::string& title, int defaultButton = 1);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_HOST_H_
