// Reading the input document of a run into the document text p.strLine.
//
// ReadInputDocument decides between a PDF, EPUB, OpenDocument or RTF document (by
// the extension: input/Documents.h), a docx file and a text file; for a text file it
// checks the file again, settles the UTF-8 question with the person (AskUTF8OrANSI),
// and reads it (ReadTextInput): line breaks (CR LF, CR or LF) become " / " (a space for
// HTML and XML, whose tags are then removed), and the UTF-8 decoder runs once over the
// whole text. After a successful reading a person is told once about characters that
// Windows-1252 lacks (p.decodeReport).
#ifndef QUILLMOOR_UI_INPUTDOCUMENT_H_
#define QUILLMOOR_UI_INPUTDOCUMENT_H_

#include <string_view>

namespace quillmoor {

struct Program;

void ReadInputDocument(Program& p, bool& blnIsUTF8, bool& blnSuccess);
void AskUTF8OrANSI(Program& p, bool& blnIsUTF8, bool& blnSuccess);
void ReadTextInput(Program& p, bool blnIsUTF8, bool& blnSuccess);
// Reads a PDF, EPUB, OpenDocument or RTF input (p.documentFormat) into p.strLine,
// with a PDF's page marks (p.firstPage, p.markPages); false after the message when it
// is refused.
void ReadFormattedDocument(Program& p, bool& blnSuccess);
// Chooses the word rules for the UTF-8 or Windows-1252 `text` read (p.textRules: those
// asked for, or the Unicode rules when the text is UTF-8 with a character
// Windows-1252 lacks), and names them in a status line when they are the Unicode rules
// or the text holds such characters.
void ChooseWordRules(Program& p, std::string_view text);
// ChooseWordRules on p.strLine, which is then decoded for the rules chosen.
void DecodeForWordRules(Program& p);

// The input box's document read as a run reads it, into p.strLine (Windows-1252): its
// checks, its reading, and HTML's character entities decoded. False after the message
// when it is refused.
bool ReadDocumentText(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_INPUTDOCUMENT_H_
