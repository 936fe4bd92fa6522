#include "output/Concordance.h"

#include <ctime>

#include "input/TextFile.h"
#include "output/Md5.h"
#include "output/PeopleText.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"
#include "shared/Utf8.h"

namespace quillmoor {

std::string VersionText() {
  return std::to_string(QUILLMOOR_VERSION_MAJOR) + "." + std::to_string(QUILLMOOR_VERSION_MINOR) +
         "2";
}

std::string DateStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

std::string ConcordanceFileName(const Program& p) {
  return p.frmMain.txbFile[0].text + ".oxn.con_" + (p.frmMain.cboWordOrder.listIndex == 0 ? "a" : "f") +
         std::to_string(p.frmMain.cboContextSize.listIndex) + ".txt";
}

void FinishListing(Program& p) {
  MainControls& m = p.frmMain;
  m.lblTotalNumOccurrences.caption.clear();
  m.txbOutput.text.clear();
  std::string& buffer = p.strOutputBuffer;
  size_t first = 0;
  while (first < buffer.size() && Byte(buffer[first]) <= 32) ++first;
  if (first > 0) buffer.erase(0, first);
  if (buffer.empty()) {
    m.txbOutput.text = "No result";
    RefreshOutput(p);
    return;
  }
  const bool create = m.optCreate.value;
  if (create) m.lblNumberOfWords.caption = "Number of keywords found: " + FormatNumber(p.lngNumWords, 0);
  p.blnElapsedTimeRunning = false;
  const size_t limit = static_cast<size_t>(p.lngMaxTextboxChars);
  const bool tooLarge = buffer.size() >= limit;
  // The box shows UTF-8; the limit counts characters of the listing.
  if (tooLarge) {
    size_t lastSpace = std::string_view(buffer).substr(0, limit).rfind(' ');
    if (lastSpace != std::string::npos) m.txbOutput.text = Cp1252ToUtf8(std::string_view(buffer).substr(0, lastSpace + 1));
  } else {
    m.txbOutput.text = Cp1252ToUtf8(buffer);
  }
  RefreshOutput(p);
  if (create) {
    p.strConcordanceFile = p.strOutputFileOverride.empty() ? ConcordanceFileName(p) : p.strOutputFileOverride;
    const std::string crlf(kCrLf);
    std::string question = std::string(tooLarge ? "The concordance is too large for the textbox."
                                                : "The concordance is fully contained in the textbox.") +
                           crlf + crlf + "Do you wish to write the concordance to a file" + crlf +
                           p.strConcordanceFile + "?";
    if (MsgBox(p, question, MsgButtons::kYesNo, MsgIcon::kNone, "Create concordance file?") ==
        MsgResult::kYes) {
      const bool ok = WriteOutputFile(p);
      if (p.blnOutputFileCreated) {
        m.lblConcordanceFile[0].visible = m.lblConcordanceFile[1].visible = true;
        m.lblConcordanceFile[1].caption = p.strConcordanceFile;
      } else if (!ok) {
        MsgBox(p, "An error occurred when creating " + Utf8Lower(p.strRunTitle) + ".",
               MsgButtons::kOK, MsgIcon::kExclamation, "Error");
      }
    }
  } else {
    // Search results are written without a question, when a file is named.
    m.txbFile[1].text = TrimSpaces(m.txbFile[1].text);
    if (!m.txbFile[1].text.empty()) WriteOutputFile(p);
  }
  m.lblTwirler.caption = " ";
  RefreshOutput(p);
}

bool WriteOutputFile(Program& p) {
  p.blnOutputFileCreated = false;
  p.outputError = FileError{};
  MainControls& m = p.frmMain;
  const bool create = m.optCreate.value;
  if (!create) {
    m.txbFile[1].text = TrimSpaces(m.txbFile[1].text);
    if (m.txbFile[1].text.empty()) return true;
  }
  const std::string file = create ? p.strConcordanceFile : m.txbFile[1].text;
  const std::string kind = create ? "Concordance" : "Search results";
  const std::string crlf(kCrLf);
  if (SameFile(file, m.txbFile[0].text)) {
    // Another name of the input, or a link to it: the input is never replaced.
    p.outputError = {kErrPathAccess, "is the input file"};
    MsgBox(p, "The " + AsciiLower(kind) + " file cannot be the same as the input file.", MsgButtons::kOK,
           MsgIcon::kExclamation, p.GetProgramText(34));
    return false;
  }
  if (FileExists(file) && p.frmMain.chkWarnOnOverwrite.checked()) {
    if (MsgBox(p,
               "A " + AsciiLower(kind) + " file " + crlf + file + crlf +
                   "already exists.  Do you wish to overwrite it?",
               MsgButtons::kYesNo, MsgIcon::kNone, "File exists") == MsgResult::kNo) {
      return true;
    }
  }
  const std::string& input = m.txbFile[0].text;
  std::string header = "Input file: " + input + crlf;
  if (create) {
    int32_t md5Error = 0;
    std::string md5Text;
    header += "MD5 message digest of input file: " + p.inputDigest.Take(input, md5Error, md5Text) + crlf;
  }
  header += kind + " file created using Quillmoor (V." + VersionText() + "): " + DateStamp() + crlf + crlf;
  FileError error;
  // The file can always be made again: no flush to the disk is waited for.
  if (!WritePeopleTextFile(file, {{header, false}, {p.strOutputBuffer, true}, {crlf, false}},
                           p.frmParams.chkWindowsText.checked(), &error, false)) {
    p.outputError = error;
    MsgBox(p, "Error " + std::to_string(error.number) + ": " + error.description, MsgButtons::kOK,
           MsgIcon::kExclamation, "File output error");
    return false;
  }
  p.blnOutputFileCreated = true;
  if (create) {
    p.blnConcordanceFileCreated = true;
    m.lblConcordanceFile[1].caption = file;
  } else {
    p.blnSearchResultsFileCreated = true;
    m.lblSearchResultsFilesize.caption = FileSizeCaption("Search results filesize: ", file);
    m.lblSearchResultsFilesize.visible = true;
  }
  return true;
}

}  // namespace quillmoor
