#include "ui/IndexFiles.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <utility>

#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "input/FileKinds.h"
#include "input/TextFile.h"
#include "output/Compressor.h"
#include "output/IndexFile.h"
#include "output/Md5.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/ScratchFile.h"
#include "ui/Concordance.h"
#include "ui/InputDocument.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);

std::string InputDigest(const Program& p) {
  int32_t error = 0;
  std::string errorText;
  return FileMD5(p.frmMain.txbFile[0].text, error, errorText);
}

void EmptyWordTable(Program& p) {
  p.arrWords.assign(1, WordRecord{});
  p.wordIndex.Clear();
  p.lngNumWords = 0;
  p.lngFirstFreq = 0;
  p.blnWordsGot = false;
}

// True when every stored position lies in the document text.
bool PositionsFitTheText(const Program& p) {
  const int64_t length = static_cast<int64_t>(p.strLine1.size());
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    for (int32_t position : p.arrWords[static_cast<size_t>(i)].positions) {
      if (position > length) return false;
    }
  }
  return true;
}

}  // namespace

void SetIndexFileName(Program& p) {
  TextBox& box = p.frmMain.txbFile[0];
  box.text = TrimSpaces(box.text);
  p.strIndexFile = IndexFileNameFor(box.text);
  if (p.strIndexFile.empty()) p.blnIndexFileCurrent = false;
}

void WriteIndexFile(Program& p) {
  p.blnIndexFileCurrent = false;
  SetIndexFileName(p);
  if (p.strIndexFile.empty()) return;
  // The text goes to a new file beside the index, is compressed there and then
  // replaces the index: an earlier index stays whole until the new one is.
  FileError& error = p.indexError;
  error = FileError{};
  std::unique_ptr<ScratchFile> text = ScratchFile::Numbered(p.strIndexFile, &error);
  if (text == nullptr ||
      !WriteIndexText(p, p.intPositionDigits, InputDigest(p), DateStamp(), text->writer(),
                      &error) ||
      !text->Close(&error, false)) {
    return;
  }
  if (OpenCompressor() == 0) {
    DeleteFile(p.strIndexFile);  // without the component no index file remains
    return;
  }
  const bool compressed = CompressFile(text->path(), UniqueFileName(p.strIndexFile), 1, &error);
  CloseCompressor();
  if (!compressed || !text->CommitTo(p.strIndexFile, &error)) return;
  p.blnIndexFileCurrent = true;
}

void ReadIndexFile(Program& p) {
  p.blnIndexFileCurrent = false;
  SetIndexFileName(p);
  if (p.strIndexFile.empty()) return;
  if (OpenCompressor() == 0) {
    DeleteFile(p.strIndexFile);
    return;
  }
  // The input's digest is made while the index is expanded.
  BackgroundDigest digest;
  digest.Start(p.frmMain.txbFile[0].text);
  FileError error;
  std::unique_ptr<ScratchFile> scratch = ScratchFile::Numbered(p.strIndexFile, &error);
  const long long inputLength =
      std::max(0LL, Files().FileLength(p.frmMain.txbFile[0].text, &error));
  const bool expanded = scratch != nullptr &&
                        DecompressInto(p.strIndexFile, scratch->writer(),
                                       inputLength * kMaxExpansion + kExpansionSlack) &&
                        scratch->Close(&error, false);
  CloseCompressor();
  if (!expanded) return;
  const long long textLength = Files().FileLength(scratch->path(), &error);
  IndexLineReader lines(scratch->path());
  std::string storedDigest, date;
  if (!lines.ok() || !lines.Next(storedDigest)) return;
  // The index of a text read under the Unicode rules says so first.
  const WordRuleSet rules = WordRuleSetOf(storedDigest == kUnicodeIndexMark);
  if (rules == WordRuleSet::kUnicode && !lines.Next(storedDigest)) return;
  int32_t digestError = 0;
  std::string digestErrorText;
  if (digest.Take(p.frmMain.txbFile[0].text, digestError, digestErrorText) != storedDigest) {
    DeleteFile(p.strIndexFile);
    MsgBox(p, p.GetProgramText(26), MsgButtons::kOK, MsgIcon::kInformation, "Bad index file");
    return;
  }
  if (!lines.Next(date)) return;
  const std::string question = p.GetProgramText(37) + " " + date + ", " + p.GetProgramText(38) +
                               kCRLF + kCRLF + p.GetProgramText(39);
  if (MsgBox(p, question, MsgButtons::kYesNo, MsgIcon::kNone, "Index file found") !=
      MsgResult::kYes) {
    if (MsgBox(p, p.GetProgramText(43), MsgButtons::kYesNo, MsgIcon::kNone, p.GetProgramText(44)) ==
        MsgResult::kYes) {
      DeleteFile(p.strIndexFile);
    }
    return;
  }
  IndexContents contents;
  const bool parsed = ParseIndexBody([&lines](std::string& line) { return lines.Next(line); },
                                     std::max(0LL, textLength) / kShortestWordLine,
                                     p.intMaxPermittedWordLength, &contents, rules);
  if (lines.failed()) return;  // a read error: the index may be whole
  if (!parsed) {
    // Made for this input yet damaged: it goes, as a stale one does.
    DeleteFile(p.strIndexFile);
    MsgBox(p, p.GetProgramText(26), MsgButtons::kOK, MsgIcon::kInformation, "Bad index file");
    return;
  }
  p.arrWords = std::move(contents.words);
  p.wordIndex.Clear();
  p.lngNumWords = contents.lngNumWords;
  p.intPositionDigits = contents.intPositionDigits;
  p.lngFirstFreq = contents.lngFirstFreq;
  p.wordRules = contents.rules;
  p.blnIndexFileCurrent = true;
  p.blnWordsGot = true;
}

void LoadIndexIfPresent(Program& p, bool withText) {
  p.blnIndexFileCurrent = false;
  SetIndexFileName(p);
  if (!p.strIndexFile.empty() && !FileExists(p.strIndexFile)) p.strIndexFile.clear();
  if (!p.strIndexFile.empty()) {
    ReadIndexFile(p);
    if (p.blnIndexFileCurrent && !withText) {
      // The table alone: its digest matched the input's.
      p.frmMain.txbOutput.text = p.GetProgramText(11) + kCRLF + p.GetProgramText(12);
      RefreshOutput(p);
    } else if (p.blnIndexFileCurrent) {
      MainControls& m = p.frmMain;
      p.strInputExtension = GetFileExtension(m.txbFile[0].text, true);
      p.blnDocxInput = false;
      bool utf8 = false, ok = false;
      // The text is read under the rules of the index's words.
      const std::string rules =
          std::exchange(p.frmParams.strWordRules, std::string(WordRuleSetName(p.wordRules)));
      ReadInputDocument(p, utf8, ok);
      p.frmParams.strWordRules = rules;
      p.blnReadingFile = false;
      if (ok) {
        NormalizeDocumentText(p);
        if (p.wordRules == WordRuleSet::kWindows1252) {
          p.strLine = LowerCaseAccented(std::move(p.strLine));
        }
        ok = PositionsFitTheText(p);
        if (!ok) {
          // Made for this input (its digest matches) yet not fitting it: damaged.
          p.blnIndexFileCurrent = false;
          EmptyWordTable(p);
          DeleteFile(p.strIndexFile);
          MsgBox(p, p.GetProgramText(26), MsgButtons::kOK, MsgIcon::kInformation, "Bad index file");
        } else {
          m.txbOutput.text = p.GetProgramText(11) + kCRLF + p.GetProgramText(12);
          RefreshOutput(p);
          if (!TrimSpaces(m.txbExtraKeywords.text).empty()) optSearch_Click(p);
        }
      } else {
        p.blnIndexFileCurrent = false;
        p.strIndexFile.clear();
        EmptyWordTable(p);
        MsgBox(p, p.GetProgramText(13), MsgButtons::kOK, MsgIcon::kInformation, "Index file");
      }
    }
  }
  EnableControls(p, true);
}

}  // namespace quillmoor
