// The document a run reads: its text (the normalised text the scan cuts into words, its
// display copy and the scan's place in it) and what reading it found out.
#ifndef QUILLMOOR_INPUT_DOCUMENTTEXT_H_
#define QUILLMOOR_INPUT_DOCUMENTTEXT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "input/Documents.h"
#include "input/Utf8Decode.h"
#include "shared/PageMap.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {

struct DocumentText {
  std::string strLine;   // the normalised text, framed by a space at each end
  std::string strLine1;  // the display copy the context lines are cut from
  int32_t lngLP = 0;     // scan position in strLine (1-based)
  // Windows-1252 text (strLine in lower case), or UTF-8 in Normalization Form C
  // (strLine as written: the Unicode scanner lower-cases each word).
  WordRuleSet textRules = WordRuleSet::kWindows1252;
  bool turkish = false;  // the Unicode rules' lower case of I is dotless
};

// What reading the input found out: its kind, its extension, and the docx reader's
// working files.
struct InputState {
  DecodeReport decodeReport;      // what reading the input met that Windows-1252 lacks
  bool blnDocxInput = false;      // the current run's input is a docx file
  bool blnConvertedText = false;  // the text was converted from another encoding
  std::string strTempFolder;      // the docx reader's temporary folder ("/" at the end)
  std::string strDocumentXml;     // the XML extracted into it
  std::string strDocxProblem;     // why a docx file cannot be read
  int16_t intFileType = 0;        // classification of the input file
  DocumentFormat documentFormat = DocumentFormat::kOther;  // a PDF, EPUB, ODF or RTF input
  // A PDF's pages: their marks in the text as read (the first page's number and the
  // page after each mark), then, once the text is normalised, where they begin.
  int32_t firstPage = 0;
  std::vector<int32_t> markPages;
  PageMap pages;
  std::string strInputExtension;  // lower-case extension of the input file
};

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_DOCUMENTTEXT_H_
