#include "input/InputFile.h"

#include "input/TextFile.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Program.h"

namespace quillmoor {

int IsZipFile(const std::string& path) {
  if (!FileExists(path)) return -1;
  FileError error;
  if (Files().FileLength(path, &error) < 10) return 0;
  std::string head;
  if (!ReadFilePrefix(path, 4, &head, &error)) return 0;
  return head == std::string("PK\x03\x04", 4) ? 1 : 0;
}

bool IsDocxFile(const std::string& path) {
  return GetFileExtension(path, true) == "docx" && IsZipFile(path) == 1;
}

bool CheckInputFile(Program& p, const std::string& path) {
  if (path.empty()) return false;
  Label& sizeLabel = p.frmMain.lblInputFilesize;
  if (!FileExists(path)) {
    if (p.blnStartUpCompleted) {
      p.frmMain.chkUTF8[0].value = 0;
      MsgBox(p, "Input file does not exist.", MsgButtons::kOK, MsgIcon::kExclamation,
             p.GetProgramText(121));
    } else if (Files().FolderExists(FolderOf(path))) {
      p.strCurrentFolder = FolderOf(path);
    }
    sizeLabel.caption.clear();
    return false;
  }
  FileError error;
  long long length = Files().FileLength(path, &error);
  bool ok = true;
  if (length == 0) {
    MsgBox(p, "Input file is zero-length.", MsgButtons::kOK, MsgIcon::kExclamation, "Empty file");
    sizeLabel.caption = "Input filesize: 0 bytes";
    ok = false;
  } else if (length < 0) {
    MsgBox(p, "Input file cannot be examined:" + std::string(kCrLf) + error.description + ".",
           MsgButtons::kOK, MsgIcon::kExclamation, p.GetProgramText(34));
    sizeLabel.caption.clear();
    return false;
  } else {
    sizeLabel.caption = "Input filesize: " + FormatFileSize(length);
    if (length > kMaxInputFileSize) {
      MsgBox(p,
             "File " + path + std::string(kCrLf) + "is larger than 2 Gb (" +
                 FormatFileSize(length) + ") and cannot be processed.",
             MsgButtons::kOK, MsgIcon::kExclamation, "File too large");
      ok = false;
    }
  }
  if (Files().FolderExists(FolderOf(path))) p.strCurrentFolder = FolderOf(path);
  return ok;
}

bool InputFileLostFocus(Program& p, int index) {
  if (!p.blnStartUpCompleted) return true;
  MainControls& m = p.frmMain;
  TextBox& box = m.txbFile[index];
  box.text = TrimSpaces(box.text);
  if (index == 0) {
    if (!box.text.empty()) {
      if (!CheckInputFile(p, box.text)) return false;
      bool utf8 = false;
      int16_t fileType = 0;
      CheckTextFile(p, box.text, false, utf8, fileType, false);
      if (utf8) {
        m.chkUTF8[0].enabled = true;
        m.chkUTF8[0].value = 1;
      }
      p.strInputExtension = GetFileExtension(box.text, true);
      ChooseStopWordsForDocument(p);
    }
    p.blnWordsGot = false;
  }
  if (box.text.size() >= 76) {
    m.cmdFile[index].toolTip = box.text;
  } else {
    box.toolTip.clear();
  }
  EnableControls(p, true);
  return true;
}

}  // namespace quillmoor
