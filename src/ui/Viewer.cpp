#include "ui/Viewer.h"

#include "input/TextFile.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "ui/Program.h"

namespace quillmoor {

void cmdHelp_Click(Program& p) {
  MainControls& m = p.frmMain;
  ViewControls& v = p.frmView;
  // The main window moves to the left edge of the screen; the viewer stands to its
  // right, as tall as it, as wide as the screen allows less 600 twips.
  const int left = m.screenWidth > 0 ? 300 : m.left;
  const int width = m.screenWidth - (left + m.width) - 600;
  if (width < 4000) {
    const std::string crlf(kCrLf);
    MsgBox(p,
           "Error: Probably the screen resolution is" + crlf +
               "too small to display the help file." + crlf + crlf + p.GetProgramText(122) + crlf +
               p.GetProgramText(15) + crlf + "You can click on the link at lower left.",
           MsgButtons::kOK, MsgIcon::kNone, "Help file");
    return;
  }
  m.left = left;
  v.left = left + m.width;
  v.top = m.top;
  v.height = m.height;
  v.width = width;
  p.strViewFilename = JoinPath(p.strProgramFolder, kHelpFileName);
  v.caption = "Help for Quillmoor";
  v.visible = true;
  FormView_Activate(p);
  p.host.ShowWindow(WindowId::kView, true);
}

void FormView_Activate(Program& p) {
  const std::string crlf(kCrLf);
  ViewControls& v = p.frmView;
  v.cmdClose.caption = "Close";
  v.txbText1.enabled = true;
  FormView_Resize(p);
  const std::string note1 =
      "NOTE: This file is too large to display entirely in this textbox." + crlf +
      "To view the entire contents of the file load it into a text editor." + crlf + crlf;
  const std::string note2 = "NOTE: Entire contents of file have not been displayed." + crlf;
  std::string bytes;
  FileError error;
  if (!ReadFilePrefix(p.strViewFilename, -1, &bytes, &error)) return;
  const std::string text = TextAsUtf8(bytes);  // UTF-8, or Windows-1252 shown as UTF-8
  if (text.size() < kViewerMaxChars) {
    v.txbText1.text = text;
  } else {
    const size_t room = Utf8CutPoint(text, kViewerMaxChars - note1.size() - note2.size());
    v.txbText1.text = note1 + text.substr(0, room) + crlf + crlf + note2;
  }
  p.blnFileDisplayed = true;
}

void FormView_Resize(Program& p) {
  ViewControls& v = p.frmView;
  if (v.width < 4000) v.width = 4000;
  if (v.height < 3000) v.height = 3000;
}

void cmdClose_Click(Program& p) {
  p.frmView.visible = false;
  p.host.ShowWindow(WindowId::kView, false);
}

bool OpenWithAssociatedProgram(const Program& p, const std::string& path, bool blnShowError,
                               bool blnMentionAssociation) {
  if (p.host.ShellOpen(path) > 32) return true;
  if (blnShowError) {
    std::string text = "Error when opening file " + path + ".";
    if (blnMentionAssociation)
      text += std::string(kCrLf) + "Perhaps the file extension has no association.";
    MsgBox(p, text, MsgButtons::kOK, MsgIcon::kExclamation, "Error");
  }
  return false;
}

void OpenWebPage(const Program& p, const std::string& address) {
  std::string target = address;
  if (address.find("://") == std::string::npos) target = JoinPath(p.strProgramFolder, address);
  const int result = p.host.ShellOpen(target);
  if (result > 32) return;
  const std::string crlf(kCrLf);
  std::string text = "Error launching web browser, error code =" + NumberText(result, true) + ".";
  if (result == 31) {
    text += crlf + crlf + "File extension '" + GetFileExtension(address, true) +
            "' is not associated with any application program.";
  } else if (result == 8) {
    text += crlf + crlf + "Out of memory.";
  } else if (result == 2) {
    text += crlf + crlf + "Please try once more.";
  }
  MsgBox(p, text, MsgButtons::kOK, MsgIcon::kExclamation, "Cannot launch web browser");
}

void cmdViewFile_Click(const Program& p, int index) {
  OpenWithAssociatedProgram(p, p.frmMain.txbFile[index].text, true, false);
}

void lblOnlineDocumentation_Click(const Program& p) { OpenWebPage(p, p.GetProgramText(15)); }

}  // namespace quillmoor
