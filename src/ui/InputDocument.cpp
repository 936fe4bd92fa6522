#include "ui/InputDocument.h"

#include "input/Documents.h"
#include "input/FileKinds.h"
#include "input/Markup.h"
#include "input/TextFile.h"
#include "input/UnicodeText.h"
#include "input/Utf8Decode.h"
#include "shared/Cp1252.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"
#include "ui/DocxReader.h"
#include "ui/InputFile.h"
#include "ui/Program.h"

namespace quillmoor {

void ReadInputDocument(Program& p, bool& blnIsUTF8, bool& blnSuccess) {
  blnSuccess = true;
  p.decodeReport.Clear();
  const std::string& path = p.frmMain.txbFile[0].text;
  p.blnDocxInput = IsDocxFile(path);
  p.documentFormat = DocumentFormatOf(GetFileExtension(path, true));
  p.firstPage = 0;
  p.markPages.clear();
  p.pages = PageMap();
  if (p.documentFormat != DocumentFormat::kOther) {
    ReadFormattedDocument(p, blnSuccess);
    if (blnSuccess) {
      blnIsUTF8 = true;
      p.frmMain.chkUTF8[0].value = 1;
      p.frmMain.chkUTF8[0].enabled = true;
    }
  } else if (p.blnDocxInput) {
    bool ok = false;
    ReadDocxInput(p, ok);
    if (ok) {
      blnIsUTF8 = true;
      p.frmMain.chkUTF8[0].value = 1;
      p.frmMain.chkUTF8[0].enabled = true;
    } else {
      blnSuccess = false;
    }
  } else {
    bool ok = true;
    AskUTF8OrANSI(p, blnIsUTF8, ok);
    if (ok) {
      ReadTextInput(p, blnIsUTF8, ok);
      if (!ok) blnSuccess = false;
    } else {
      ClearOutput(p);
      RefreshOutput(p);
      blnSuccess = false;
    }
  }
  // Once per reading, after it: the characters the word table cannot hold.
  if (blnSuccess) TellUnmappedCharacters(p.host, p.decodeReport);
}

void AskUTF8OrANSI(Program& p, bool& blnIsUTF8, bool& blnSuccess) {
  blnSuccess = true;
  CheckBox& utf8Box = p.frmMain.chkUTF8[0];
  if (!CheckTextFile(p, p.frmMain.txbFile[0].text, false, blnIsUTF8, p.intFileType, true)) {
    blnSuccess = false;
    return;
  }
  const std::string crlf(kCrLf);
  MsgResult answer;
  if (!utf8Box.checked() && blnIsUTF8) {
    answer = MsgBox(p,
                    "This file seems to be UTF-8 encoded." + crlf +
                        "Click 'Yes' to scan it as UTF-8 encoded or 'No' to scan it as ANSI.",
                    MsgButtons::kYesNoCancel, MsgIcon::kNone, "UTF-8 or ANSI file?");
    if (answer == MsgResult::kCancel) blnSuccess = false;
    if (answer == MsgResult::kYes) utf8Box.value = 1;
    if (answer == MsgResult::kNo) utf8Box.value = 0;
  } else if (utf8Box.checked() && !blnIsUTF8) {
    answer = MsgBox(p,
                    "This file does not seem to be UTF-8 encoded." + crlf +
                        "Click 'Yes' to scan it as UTF-8 encoded (not advisable)" + crlf +
                        "or 'No' to scan it as ANSI.",
                    MsgButtons::kYesNoCancel, MsgIcon::kNone, "UTF-8 or ANSI file?");
    if (answer == MsgResult::kCancel) blnSuccess = false;
    if (answer == MsgResult::kNo) utf8Box.value = 0;
    if (answer == MsgResult::kYes) utf8Box.value = 1;
  }
}

namespace {

// True when the text read fits the scan's 32-bit positions; otherwise says so. Line
// breaks become " / ", so a file of short lines grows to up to three times its size.
bool FitsTheScan(Program& p, const std::string& path) {
  if (static_cast<long long>(p.strLine.size()) <= p.lngMaxDocumentChars) return true;
  const std::string crlf(kCrLf);
  MsgBox(p,
         "File " + path + crlf + "makes a text of " +
             FormatNumber(static_cast<double>(p.strLine.size()), 0) +
             " characters when read (each line break becomes \" / \"), more than the " +
             FormatNumber(static_cast<double>(p.lngMaxDocumentChars), 0) + " that can be scanned.",
         MsgButtons::kOK, MsgIcon::kExclamation, "File too large");
  return false;
}

void RefuseTheText(Program& p, bool& blnSuccess) {
  p.strLine.clear();
  p.strLine.shrink_to_fit();
  ClearOutput(p);
  RefreshOutput(p);
  blnSuccess = false;
}

}  // namespace

namespace {

// The encoding the document is converted from before it is read: the one named, or
// UTF-16 with a byte order mark; "" for the reading every other document gets.
std::string ConversionEncoding(const Program& p, const std::string& path) {
  const std::string& named = p.frmParams.strEncoding;
  if (!named.empty() && !IsUtf8Name(named) && !IsWindows1252Name(named)) return named;
  const int16_t code = DetectTextEncoding(path, false);
  if (code == kEncodingUtf16LE) return "UTF-16LE";
  if (code == kEncodingUtf16BE) return "UTF-16BE";
  return "";
}

// Reads the file in `encoding` as UTF-8 lines joined as `options` say.
bool ReadConvertedLines(Program& p, const std::string& path, const std::string& encoding,
                        const LineReadOptions& options) {
  std::string bytes, text, problem;
  FileError error;
  int32_t lines = 0;
  if (!ReadFilePrefix(path, p.lngMaxDocumentChars + 1, &bytes, &error)) {
    problem = error.description;
  } else if (ConvertToUtf8(bytes, encoding, &text, &problem)) {
    std::string().swap(bytes);
    p.strLine = JoinTextLines(text, lines, options);
    p.blnConvertedText = true;
    return true;
  }
  MsgBox(p, problem + std::string(kCrLf) + "when reading input file.", MsgButtons::kOK,
         MsgIcon::kNone, "Read error");
  return false;
}

}  // namespace

namespace {

Utf8Survey ChooseRules(Program& p, std::string_view text) {
  const std::string& choice = p.frmParams.strWordRules;
  const Utf8Survey survey = SurveyUtf8(text);
  const bool beyond = choice != "unicode" && survey.CallsForUnicodeRules();
  const bool unicode = choice == "unicode" || (choice != "windows-1252" && beyond);
  p.textRules = WordRuleSetOf(unicode);
  // Said whenever the rules are not the ones every Windows-1252 text has always had.
  if (unicode || beyond) {
    StatusText(p, "Word rules: " + std::string(WordRuleSetName(p.textRules)) + ".");
  }
  return survey;
}

}  // namespace

void ChooseWordRules(Program& p, std::string_view text) { ChooseRules(p, text); }

void ReadFormattedDocument(Program& p, bool& blnSuccess) {
  blnSuccess = true;
  p.blnReadingFile = true;
  const std::string& path = p.frmMain.txbFile[0].text;
  StatusText(p, std::string("Reading the ") + DocumentFormatName(p.documentFormat) + " ...");
  EnableControls(p, false);
  DocumentLimits limits;
  limits.maxTextBytes = p.lngMaxDocumentChars;
  limits.stopped = [&p] {
    p.host.DoEvents();
    return p.blnStop;
  };
  DocumentReading reading;
  if (!ReadDocument(p.documentFormat, path, limits, &reading)) {
    if (p.blnStop) {
      StatusText(p, reading.problem);
      blnSuccess = false;
      return;
    }
    MsgBox(p, reading.problem, MsgButtons::kOK, MsgIcon::kExclamation, reading.caption);
    return RefuseTheText(p, blnSuccess);
  }
  p.strLine = std::move(reading.text);
  if (!FitsTheScan(p, path)) return RefuseTheText(p, blnSuccess);
  if (!reading.title.empty()) StatusText(p, "Book: " + reading.title);
  if (reading.firstPage > 0) {
    StatusText(p, "Pages: " + FormatNumber(reading.pages, 0) + ".");
    p.firstPage = reading.firstPage;
    p.markPages = std::move(reading.markPages);
  }
  p.host.DoEvents();
  if (p.blnStop) {
    StatusText(p, "Stopped when reading file.");
    blnSuccess = false;
    return;
  }
  DecodeForWordRules(p);
}

void DecodeForWordRules(Program& p) {
  const Utf8Survey survey = ChooseRules(p, p.strLine);
  if (p.textRules == WordRuleSet::kUnicode) {
    const bool clean =
        survey.strays == 0 && !survey.controls && !p.strLine.starts_with("\xEF\xBB\xBF");
    p.strLine = DecodeUnicodeText(std::move(p.strLine), true, clean);
    return;
  }
  if (!p.blnConvertedText && p.frmParams.strEncoding.empty() && survey.strays > 0) {
    // Text that is not UTF-8 is read as Windows-1252: say so when it looks like
    // another code page.
    if (const std::string other = LikelyOtherCodePage(p.strLine); !other.empty()) {
      StatusText(p, "The text reads as Windows-1252 but looks like " + other +
                        "; to read it so, choose that encoding (--encoding " + other + ").");
    }
  }
  p.strLine = DecodeUtf8Text(std::move(p.strLine), &p.decodeReport);
}

// The UTF-8 of every text, HTML and XML input is decoded once, whatever the detected
// encoding: Windows-1252 text passes the decoder unchanged.
void ReadTextInput(Program& p, bool /*blnIsUTF8*/, bool& blnSuccess) {
  blnSuccess = true;
  p.blnReadingFile = true;
  StatusLine(p, 85);
  SetListWordsCaption(p, p.GetProgramText(74));
  EnableControls(p, false);

  const std::string& path = p.frmMain.txbFile[0].text;
  const std::string ext = GetFileExtension(path, true);
  LineReadOptions options;
  options.blnSkipBlankLines = true;
  std::string message;
  int32_t number = 0, lines = 0;
  p.blnConvertedText = false;
  const std::string encoding = ConversionEncoding(p, path);
  if (!encoding.empty()) {
    const bool markup = ext == "html" || ext == "htm" || ext == "xml";
    options.blnJoinWithSpace = markup;
    options.blnJoinWithSlash = !markup;
    if (!ReadConvertedLines(p, path, encoding, options)) {
      ClearOutput(p);
      RefreshOutput(p);
      blnSuccess = false;
      return;
    }
    if (!FitsTheScan(p, path)) return RefuseTheText(p, blnSuccess);
    if (markup) p.strLine = RemoveTags(p.strLine);
  } else if (ext == "html" || ext == "htm" || ext == "xml") {
    options.blnJoinWithSpace = true;
    p.strLine = ReadTextFileLines(path, message, number, lines, options);
    if (!FitsTheScan(p, path)) return RefuseTheText(p, blnSuccess);
    StatusText(p, "File read successfully.  Now removing tags ...");
    p.strLine = RemoveTags(p.strLine);
  } else {
    options.blnJoinWithSlash = true;
    p.strLine = ReadTextFileLines(path, message, number, lines, options);
    if (number != 0) {
      MsgBox(p, message + std::string(kCrLf) + "when reading input file.", MsgButtons::kOK,
             MsgIcon::kNone, "Read error");
      ClearOutput(p);
      RefreshOutput(p);
      blnSuccess = false;
      return;
    }
    if (!FitsTheScan(p, path)) return RefuseTheText(p, blnSuccess);
  }
  p.host.DoEvents();
  if (p.blnStop) {
    StatusText(p, "Stopped when reading file.");
    blnSuccess = false;
    return;
  }
  StatusText(p, "Converting UTF-8 ...");
  DecodeForWordRules(p);
}

bool ReadDocumentText(Program& p) {
  if (!CheckInputFile(p, p.frmMain.txbFile[0].text)) return false;
  bool utf8 = false, ok = false;
  ReadInputDocument(p, utf8, ok);
  p.blnReadingFile = false;
  EnableControls(p, true);
  if (!ok) return false;
  // The page breaks of a PDF are line breaks.
  TakePageMarks(p.strLine, p.firstPage, p.markPages);
  SelectMarkupHandling(p.blnCharacterEntitiesPossible,
                       GetFileExtension(p.frmMain.txbFile[0].text, true));
  if (p.blnCharacterEntitiesPossible) p.strLine = DecodeCharacterEntities(p.strLine);
  return true;
}

}  // namespace quillmoor
