#include "ui/InputFile.h"

#include "input/Documents.h"
#include "input/FileKinds.h"
#include "input/TextFile.h"
#include "output/IndexFile.h"
#include "output/KeywordSearch.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "ui/Defaults.h"
#include "ui/IndexFiles.h"
#include "ui/KeywordBoxes.h"
#include "ui/Program.h"
#include "ui/Progress.h"
#include "ui/StopWordBoxes.h"

namespace quillmoor {

void SelectFile(Program& p, int index) {
  static const char* const kTitles[] = {"Specify input file", "Specify output file",
                                        "Specify keywords file"};
  FileDialog dialog;
  dialog.mode = FileDialogMode::kOpen;
  dialog.title = kTitles[index];
  dialog.filter = index == 0 ? kInputFileFilter : "";
  dialog.flags = index == 0 ? 0x1800u : 0x4u;
  dialog.folder = p.strCurrentFolder;
  const std::string name = p.host.AskFileName(dialog);
  MainControls& m = p.frmMain;
  if (!name.empty()) {
    m.txbFile[index].text = name;
    if (index == 0) {
      const std::string crlf(kCrLf);
      auto refuse = [&](const std::string& text, const std::string& title, MsgIcon icon) {
        MsgBox(p, text, MsgButtons::kOK, icon, title);
        m.txbFile[0].text.clear();
      };
      p.blnWordsGot = false;
      ClearOutput(p);
      for (Label* l : {&m.lblInputFilesize, &m.lblConcordanceFilesize, &m.lblIndexFilesize,
                       &m.lblSearchResultsFilesize}) {
        l->caption.clear();
      }
      RefreshOutput(p);
      if (IsIndexFileName(name)) {
        return refuse("This is an OXN index file.", "Invalid input", MsgIcon::kExclamation);
      }
      if (IsConcordanceFileName(name)) {
        return refuse("This is an OXN concordance file.", "Invalid input", MsgIcon::kExclamation);
      }
      if (CheckInputFile(p, name)) {
        EraseNumWords(p);
        ConcealNumWords(p, true);
        p.strInputExtension = GetFileExtension(name, true);
        const std::string& ext = p.strInputExtension;
        if (ext == "html" || ext == "htm" || ext == "xml") {
          p.strInputExtension.clear();
          return refuse("Support for HTML and XML files will be provided" + crlf +
                            "in a later version of this program.",
                        "HTML or XML file", MsgIcon::kNone);
        }
        m.chkShowLineBreaks.enabled = ext != "docx";
        const DocumentFormat format = DocumentFormatOf(ext);
        if ((format == DocumentFormat::kEpub || format == DocumentFormat::kOdf) &&
            IsZipFile(name) != 1) {
          return refuse("The file " + name + crlf + "has an '" + ext +
                            "' extension but does not appear to be an " +
                            DocumentFormatName(format) + " (it is not a ZIP archive).",
                        p.GetProgramText(34), MsgIcon::kExclamation);
        }
        if (format != DocumentFormat::kOther) {
          m.chkUTF8[0].value = 1;
          ChooseStopWordsForDocument(p);
        } else if (ext != "docx") {
          StatusText(p, "Checking file ...");
          m.chkUTF8[0].value = 0;
          bool utf8 = false;
          int16_t fileType = 0;
          CheckTextFile(p, name, false, utf8, fileType, false);
          ClearOutput(p);
          if (utf8) m.chkUTF8[0].value = 1;
          RefreshOutput(p);
          ChooseStopWordsForDocument(p);
        } else if (IsZipFile(name) != 1) {
          return refuse(
              "The file " + name + crlf +
                  "has a 'docx' extension but does not appear to be an MS Word 'docx' file.",
              p.GetProgramText(34), MsgIcon::kExclamation);
        }
        LoadIndexIfPresent(p);
      }
    } else if (index == 2) {
      p.strKeywordsFile = name;
      if (m.optSearch.value) AttemptToReadSearchWords(p);
    }
  }
  EnableControls(p, true);
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
      if (DocumentFormatOf(GetFileExtension(box.text, true)) == DocumentFormat::kOther) {
        CheckTextFile(p, box.text, false, utf8, fileType, false);
      }
      if (utf8) {
        m.chkUTF8[0].enabled = true;
        m.chkUTF8[0].value = 1;
      }
      p.strInputExtension = GetFileExtension(box.text, true);
      ChooseStopWordsForDocument(p);
    }
    // A new input: the word table of an earlier input's index no longer serves.
    p.blnWordsGot = false;
    p.blnIndexFileCurrent = false;
  } else if (index == 2) {
    // A keywords file typed in Search mode is read as a chosen one is; an emptied box
    // names none.
    p.strKeywordsFile = box.text;
    if (box.text.empty()) {
      EraseSearchWords(p);
    } else if (m.optSearch.value &&
               !(p.blnSearchWordsLoaded && Utf8Lower(box.text) == p.strSearchWordsFile) &&
               FileExists(ResolveLowerCasedPath(Utf8Lower(box.text)))) {
      AttemptToReadSearchWords(p);
    }
  }
  if (box.text.size() >= 76) {
    m.cmdFile[index].toolTip = box.text;
  } else {
    box.toolTip.clear();
  }
  EnableControls(p, true);
  return true;
}

// Quiet or not, and asked to continue or not, a file that passes needs no message: the
// line reader takes every kind of line end alike.
bool CheckTextFile(Program& p, const std::string& path, bool /*blnQuiet*/, bool& blnIsUTF8,
                   int16_t& intFileType, bool /*blnAskToContinue*/) {
  int16_t code = ClassifyTextFile(path, kMaxScanBytes, blnIsUTF8, true);
  intFileType = code;
  const std::string file = "File " + path;
  auto refuse = [&](const std::string& text) {
    MsgBox(p, text, MsgButtons::kOK, MsgIcon::kInformation, "Fatal error");
    return false;
  };
  switch (code) {
    case kClassEmptyPath:
      return false;
    case kClassUnexpectedError:
      cmdInitialize_Click(p);
      return false;
    case kClassNotFound:
      return refuse(file + " not found.");
    case kClassZeroLength:
      return refuse(file + " is zero-length.");
    case kClassNoPermission:
      return refuse(file + std::string(kCrLf) + " cannot be opened (permission denied).");
    case kClassTiny:
      return refuse(file + std::string(kCrLf) + "contains only from 1 to 4 bytes.");
    case kClassRtf:
      return refuse(file + std::string(kCrLf) + "is an RTF file.");
    case kClassUnicode:
      // A document in UTF-16 is read (converted); UTF-32 is not.
      if (const int16_t encoding = DetectTextEncoding(path, false);
          path == p.frmMain.txbFile[0].text &&
          (encoding == kEncodingUtf16LE || encoding == kEncodingUtf16BE)) {
        break;
      }
      return refuse(file + std::string(kCrLf) + "is a Unicode file but not UTF-8 encoded.");
    default:
      break;
  }
  return true;
}

}  // namespace quillmoor
