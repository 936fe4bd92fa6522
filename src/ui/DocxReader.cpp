#include "ui/DocxReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "input/UnicodeText.h"
#include "input/Unzip.h"
#include "input/Utf8Decode.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/ScratchFile.h"
#include "ui/InputDocument.h"
#include "ui/Program.h"
#include "ui/Progress.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);
constexpr const char* kEntryName = "word/document.xml";
// Window events run this often while the runs are collected (a stop can arrive).
constexpr int32_t kRunsBetweenEvents = 1024;

// The next occurrence of a fixed string at or after a position, for positions that
// never go back: a result stays valid until the search passes it, so the text is
// searched once in all (a missing string is not searched for again).
class NextFinder {
 public:
  NextFinder(std::string_view text, std::string_view needle) : text_(text), needle_(needle) {}
  size_t At(size_t from) {
    if (!searched_ || (found_ != std::string_view::npos && found_ < from)) {
      found_ = text_.find(needle_, from);
      searched_ = true;
    }
    return found_;
  }

 private:
  std::string_view text_;
  std::string_view needle_;
  size_t found_ = std::string_view::npos;
  bool searched_ = false;
};

// The folder path without its trailing "/".
std::string WithoutSlash(std::string path) {
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool MakeFolder(const std::string& path) { return ::mkdir(WithoutSlash(path).c_str(), 0700) == 0; }

}  // namespace

void ReadDocxInput(Program& p, bool& blnSuccess) {
  StatusLine(p, 84);
  // Reading: the main button stops it.
  p.blnReadingFile = true;
  SetListWordsCaption(p, p.GetProgramText(74));
  EnableControls(p, false);
  const std::string& path = p.frmMain.txbFile[0].text;
  const int32_t code = ExtractDocxText(p, path, "OXN", p.strLine);
  DeleteTempFolder(p);  // whatever happened, nothing stays behind
  blnSuccess = code >= 0 && !p.blnStop;
  if (blnSuccess) return;
  p.blnElapsedTimeRunning = false;
  if (code >= 0) {
    StatusText(p, "Stopped when reading file.");
    return;
  }
  switch (code) {
    case kDocxNoTempFolder:
      MsgBox(p, "Unable to create temporary folder.", MsgButtons::kOK, MsgIcon::kExclamation,
             p.GetProgramText(34));
      break;
    case kDocxTooLarge:
      MsgBox(p,
             path + kCRLF + "is too large to be scanned directly." + kCRLF + kCRLF +
                 "Recommend saving it as a text file and" + kCRLF +
                 "applying this program to that file.",
             MsgButtons::kOK, MsgIcon::kInformation, "File too big");
      break;
    case kDocxUnreadable:
      MsgBox(
          p,
          "The file " + path + kCRLF + "is not a readable Word document: " + p.strDocxProblem + ".",
          MsgButtons::kOK, MsgIcon::kExclamation, p.GetProgramText(34));
      break;
    default:  // the person declined: nothing more to say
      break;
  }
}

int32_t ExtractDocxText(Program& p, const std::string& path, const std::string& prefix,
                        std::string& text) {
  const int32_t r = UnzipDocx(p, path, prefix);
  if (r < 0) return r;
  int32_t length = r;
  ReadDocumentXml(p, text, length);
  return 0;
}

int32_t UnzipDocx(Program& p, const std::string& path, const std::string& prefix) {
  p.strTempFolder = CreateTempFolder(prefix, true);
  if (p.strTempFolder.empty()) return kDocxNoTempFolder;
  bool unreadable = false;
  if (!UnzipEntry(p, path, p.strTempFolder, &unreadable, &p.strDocxProblem)) {
    if (MsgBox(p,
               "Invalid checksum found when processing" + kCRLF + path + kCRLF + kCRLF +
                   "Do you wish to scan this file anyway?",
               MsgButtons::kYesNo, MsgIcon::kNone, p.GetProgramText(34)) == MsgResult::kNo) {
      return kDocxChecksumDeclined;
    }
  }
  if (unreadable) {
    DeleteTempFolder(p);
    return kDocxUnreadable;
  }
  p.strDocumentXml = p.strTempFolder + kEntryName;
  FileError error;
  const long long size = Files().FileLength(p.strDocumentXml, &error);
  if (size < 0) {
    p.strDocxProblem = "its text could not be extracted (" + error.description + ")";
    DeleteTempFolder(p);
    return kDocxUnreadable;
  }
  if (size > kMaxDocxBytes) {
    DeleteTempFolder(p);
    return kDocxTooLarge;
  }
  if (size > kBigDocxBytes) {
    if (MsgBox(p,
               path + kCRLF + "is rather large.  It may take awhile to scan." + kCRLF +
                   "Do you wish to continue?",
               MsgButtons::kYesNo, MsgIcon::kNone, "Big file", 2) != MsgResult::kYes) {
      MsgBox(p,
             "You could try saving it as a text file" + kCRLF +
                 "and applying this program to that file.",
             MsgButtons::kOK, MsgIcon::kNone, "Big file");
      DeleteTempFolder(p);
      return kDocxBigDeclined;
    }
  }
  return static_cast<int32_t>(size);
}

std::string FindFixedDrive() { return TemporaryFolder(); }

std::string CreateTempFolder(const std::string& prefix, bool blnTrailingSlash) {
  const std::string base = FindFixedDrive();
  if (base.empty()) return "";
  for (int n = 1; n < 1000; ++n) {
    char number[4];
    std::snprintf(number, sizeof number, "%03d", n);
    const std::string name = JoinPath(base, prefix + number);
    if (PathTaken(name)) continue;
    if (!MakeScratchFolder(name)) {
      if (errno == EEXIST) continue;  // another program took it meanwhile
      return "";
    }
    return blnTrailingSlash ? name + "/" : name;
  }
  return "";
}

bool UnzipEntry(Program&, const std::string& zipPath, const std::string& destinationFolder,
                bool* unreadable, std::string* reason) {
  *unreadable = false;
  const std::string folder = destinationFolder + "word";
  if (!MakeFolder(folder)) {
    *unreadable = true;
    *reason = "its text could not be extracted (" + std::string(std::strerror(errno)) + ")";
    return true;
  }
  const UnzipResult r =
      UnzipEntryToFile(zipPath, kEntryName, destinationFolder + kEntryName, kMaxDocxBytes);
  switch (r.status) {
    case UnzipStatus::kOk:
    case UnzipStatus::kTooLarge:  // the size step refuses it
      return true;
    case UnzipStatus::kChecksum:
      return false;
    case UnzipStatus::kNotZip:
      *reason = "its ZIP archive cannot be opened (" + r.detail + ")";
      break;
    case UnzipStatus::kNoEntry:
      *reason = "it holds no word/document.xml";
      break;
    case UnzipStatus::kDamaged:
      *reason = "its text is damaged (" + r.detail + ")";
      break;
    case UnzipStatus::kWriteError:
      *reason = "its text could not be extracted (" + r.detail + ")";
      break;
    case UnzipStatus::kNoLibrary:
      *reason = "the unzip library is missing (" + r.detail + ")";
      break;
  }
  *unreadable = true;
  return true;
}

void ReadDocumentXml(Program& p, std::string& text, int32_t& lngLength) {
  std::string xml;
  FileError error;
  ReadFilePrefix(p.strDocumentXml, -1, &xml, &error);
  DeleteDocumentXml(p);
  // The runs of a document in a script beyond Windows-1252 stay UTF-8.
  ChooseWordRules(p, xml);
  std::vector<std::string> runs;
  const int32_t count = ExtractDocxRuns(p, xml, 1, runs, lngLength);
  text.clear();
  if (p.blnStop) return;
  text.reserve(static_cast<size_t>(std::max(lngLength, 0)));
  for (int32_t i = 0; i < count; ++i) text += runs[static_cast<size_t>(i)];
  if (p.textRules == WordRuleSet::kUnicode) text = DecodeUnicodeText(std::move(text), false);
}

int32_t ExtractDocxRuns(Program& p, const std::string& xml, int32_t lngStart,
                        std::vector<std::string>& runs, int32_t& lngLength) {
  constexpr std::string_view kOpen = "<w:t";
  constexpr size_t kCloseLength = 6;  // "</w:t>"
  const std::string_view text(xml);
  NextFinder open(text, kOpen), close(text, "</w:t>"), lineBreak(text, "<w:br/>"),
      paragraphEnd(text, "</w:p>");
  lngLength = 0;
  int32_t count = 0;
  size_t pos = static_cast<size_t>(std::max(lngStart, 1)) - 1;
  constexpr size_t npos = std::string_view::npos;
  while (pos < text.size()) {
    const size_t a = open.At(pos);
    if (a == npos) break;
    if (p.blnStop) {
      if (p.lngSecondsElapsed < 10) break;
      if (MsgBox(p, "Many different words have been found." + kCRLF + "Do you really wish to stop?",
                 MsgButtons::kYesNo, MsgIcon::kNone, "Stop") == MsgResult::kYes) {
        break;
      }
      p.blnStop = false;
      p.blnElapsedTimeRunning = true;
    }
    const size_t b = close.At(pos);
    if (b == npos || b < a) break;
    const size_t afterOpen = a + kOpen.size();
    const char c = afterOpen < text.size() ? text[afterOpen] : '\0';
    if (c != ' ' && c != '>') {  // w:tab, w:tbl and the like
      pos = afterOpen;
      continue;
    }
    if (b <= afterOpen) {  // an empty run
      pos = b + kCloseLength;
      continue;
    }
    std::string run(text.substr(afterOpen, b - afterOpen));
    const size_t next = b + kCloseLength;
    const size_t t2 = open.At(next);
    if (t2 != npos) {
      const size_t br2 = lineBreak.At(next);
      const size_t p2 = paragraphEnd.At(next);
      if ((br2 != npos && br2 < t2) || (p2 != npos && p2 < t2)) run += ' ';
    }
    if (const size_t gt = run.find('>'); gt != std::string::npos) run.erase(0, gt + 1);
    if (TrimSpaces(run).empty()) {
      run = " ";
    } else {
      run = ReplaceAll(run, "&amp;", "&");
      run = ReplaceAll(run, "&lt;", "<");
      run = ReplaceAll(run, "&gt;", ">");
      if (p.textRules == WordRuleSet::kWindows1252) {
        run = DecodeUtf8Text(std::move(run), &p.decodeReport, false);
      }
    }
    lngLength += static_cast<int32_t>(run.size());
    runs.push_back(std::move(run));
    ++count;
    UpdateProgressBar(p, static_cast<int32_t>(pos), static_cast<int32_t>(text.size()), 100000);
    if (count % kRunsBetweenEvents == 0) p.host.DoEvents();
    pos = next;
  }
  return count;
}

void DeleteDocumentXml(Program& p) {
  FileError error;
  if (Files().FileExists(p.strDocumentXml)) {
    ::chmod(p.strDocumentXml.c_str(), 0600);  // read-only files go too
    if (!Files().Remove(p.strDocumentXml, &error)) {
      MsgBox(p, "Error when attempting to delete " + p.strDocumentXml, MsgButtons::kOK,
             MsgIcon::kExclamation, "Error");
      return;
    }
  }
  const std::string folder = WithoutSlash(p.strTempFolder);
  if (const int failure = RemoveTree(folder + "/word")) {
    MsgBox(p,
           std::string(std::strerror(failure)) + " when attempting to delete folder " + folder +
               "/word",
           MsgButtons::kOK, MsgIcon::kExclamation, "Error");
    return;
  }
  if (::rmdir(folder.c_str()) != 0 && errno != ENOENT) {
    MsgBox(p, std::string(std::strerror(errno)) + " when attempting to delete folder " + folder,
           MsgButtons::kOK, MsgIcon::kExclamation, "Error");
    return;
  }
  ForgetScratchPath(folder);
}

void DeleteTempFolder(Program& p) {
  if (p.strTempFolder.empty()) return;
  RemoveScratchFolder(WithoutSlash(p.strTempFolder));
  p.strTempFolder.clear();
  p.strDocumentXml.clear();
}

}  // namespace quillmoor
