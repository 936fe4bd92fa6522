#include "ui/Concordance.h"

#include <algorithm>
#include <ctime>

#include "input/TextFile.h"
#include "output/Md5.h"
#include "output/PeopleText.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"
#include "shared/WordRuleSet.h"
#include "ui/Program.h"

namespace quillmoor {

std::string DateStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

std::string ConcordanceFileName(const Program& p) {
  return p.frmMain.txbFile[0].text + ".oxn.con_" +
         (p.frmMain.cboWordOrder.listIndex == 0 ? "a" : "f") +
         std::to_string(p.frmMain.cboContextSize.listIndex) + ".txt";
}

namespace {

// The concordance file of the run: the derived name, or the one the caller set.
std::string ConcordanceTarget(const Program& p) {
  return p.strOutputFileOverride.empty() ? ConcordanceFileName(p) : p.strOutputFileOverride;
}

// The lines above the listing (UTF-8, CR LF). Create mode takes the input's digest.
std::string OutputHeader(Program& p, bool create) {
  const std::string crlf(kCrLf);
  const std::string& input = p.frmMain.txbFile[0].text;
  std::string header = "Input file: " + input + crlf;
  if (create) {
    int32_t md5Error = 0;
    std::string md5Text;
    header +=
        "MD5 message digest of input file: " + p.inputDigest.Take(input, md5Error, md5Text) + crlf;
  }
  header += std::string(create ? "Concordance" : "Search results") +
            " file created using Quillmoor (V." + VersionText() + "): " + DateStamp() + crlf + crlf;
  return header;
}

// The part of the listing that is not in the draft yet.
std::string_view UndraftedListing(const Program& p) {
  return std::string_view(p.strOutputBuffer).substr(p.lngListingInDraft);
}

}  // namespace

void StartConcordanceDraft(Program& p) {
  p.concordanceDraft.reset();
  p.lngListingInDraft = p.lngListingSpilled = 0;
  if (!p.blnDraftConcordance || !p.frmMain.optCreate.value) return;
  const std::string target = ConcordanceTarget(p);
  // The input is never replaced (WriteOutputFile says so at the end).
  if (SameFile(target, p.frmMain.txbFile[0].text)) return;
  p.concordanceDraft = ConcordanceDraft::Open(target, OutputHeader(p, true),
                                              p.frmParams.chkWindowsText.checked(), p.wordRules);
}

void SpillListing(Program& p) {
  constexpr size_t kSpillBytes = 1 << 20;
  std::string& buffer = p.strOutputBuffer;
  if (p.concordanceDraft == nullptr || buffer.size() < p.lngListingInDraft + kSpillBytes) return;
  p.concordanceDraft->Append(UndraftedListing(p));
  // The output box's part stays (it never shrinks: the buffer has grown past it).
  const size_t kept =
      std::min(buffer.size(), static_cast<size_t>(std::max(p.lngMaxTextboxChars, 0)));
  p.lngListingSpilled += buffer.size() - kept;
  buffer.resize(kept);
  p.lngListingInDraft = kept;
}

void FinishListing(Program& p) {
  MainControls& m = p.frmMain;
  m.lblTotalNumOccurrences.caption.clear();
  m.txbOutput.text.clear();
  std::string& buffer = p.strOutputBuffer;
  if (p.lngListingInDraft == 0 && p.lngListingSpilled == 0) {
    size_t first = 0;
    while (first < buffer.size() && Byte(buffer[first]) <= 32) ++first;
    if (first > 0) buffer.erase(0, first);
  }
  // The draft goes at the end, unless the file it is became the concordance.
  struct DropDraft {
    Program& p;
    ~DropDraft() { p.concordanceDraft.reset(); }
  } dropDraft{p};
  const size_t total = buffer.size() + p.lngListingSpilled;
  if (total == 0) {
    m.txbOutput.text = "No result";
    RefreshOutput(p);
    return;
  }
  const bool create = m.optCreate.value;
  if (create)
    m.lblNumberOfWords.caption = "Number of keywords found: " + FormatNumber(p.lngNumWords, 0);
  p.blnElapsedTimeRunning = false;
  const size_t limit = static_cast<size_t>(p.lngMaxTextboxChars);
  const bool tooLarge = total >= limit;
  // The box shows UTF-8; the limit counts characters of the listing.
  if (tooLarge) {
    size_t lastSpace = std::string_view(buffer).substr(0, limit).rfind(' ');
    if (lastSpace != std::string::npos)
      m.txbOutput.text =
          EngineTextAsUtf8(p.wordRules, std::string_view(buffer).substr(0, lastSpace + 1));
  } else {
    m.txbOutput.text = EngineTextAsUtf8(p.wordRules, buffer);
  }
  RefreshOutput(p);
  if (create) {
    p.strConcordanceFile = ConcordanceTarget(p);
    const std::string crlf(kCrLf);
    std::string question =
        std::string(tooLarge ? "The concordance is too large for the textbox."
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
    MsgBox(p, "The " + AsciiLower(kind) + " file cannot be the same as the input file.",
           MsgButtons::kOK, MsgIcon::kExclamation, p.GetProgramText(34));
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
  FileError error;
  bool written;
  int64_t replaced = 0;
  if (create && p.concordanceDraft != nullptr) {
    // The draft, begun with its header when the listing began, is completed (it holds
    // the listing: the buffer may hold only its ends).
    written = p.concordanceDraft->Commit(UndraftedListing(p), crlf, file, &error);
    replaced = p.concordanceDraft->replaced();
  } else {
    // The file can always be made again: no flush to the disk is waited for.
    const std::string header = OutputHeader(p, create);
    written = WritePeopleTextFile(file, {{header, false}, {p.strOutputBuffer, true}, {crlf, false}},
                                  p.frmParams.chkWindowsText.checked(), &error, false, p.wordRules,
                                  &replaced);
  }
  if (written && replaced > 0) {
    StatusText(p, FormatNumber(static_cast<double>(replaced), 0) +
                      (replaced == 1 ? " character" : " characters") +
                      " that Windows-1252 lacks written as \"?\".");
  }
  if (!written) {
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
