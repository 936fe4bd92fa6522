// The input-file box: the existence and size check of the input, the size label, and
// what happens when a typed name leaves the box.
#ifndef QUILLMOOR_UI_INPUTFILE_H_
#define QUILLMOOR_UI_INPUTFILE_H_

#include <cstdint>
#include <string>

#include "input/FileKinds.h"

namespace quillmoor {

struct Program;

// The click of file button `index` (0 input, 1 search results, 2 keywords): the file
// dialog, then the checks of a new input file.
void SelectFile(Program& p, int index);

// Existence and size test of the input file; sets the input size label. Messages
// appear only after start-up. Returns blnOK.
bool CheckInputFile(Program& p, const std::string& path);

// Leaving file box `index` after typing. Returns false when the input file was
// refused by CheckInputFile (nothing else was done then).
bool InputFileLostFocus(Program& p, int index);

// Classifies the text file at `path` (input/TextFile.h) into intFileType and
// blnIsUTF8, and shows the refusal a person needs: false for a file that cannot be
// read as text.
// The input file dialog's filter: the documents the program reads, or any file.
inline constexpr const char* kInputFileFilter =
    "Documents: text, web pages, Word, PDF, EPUB, OpenDocument, RTF|"
    "*.txt *.text *.htm *.html *.xml *.docx *.pdf *.epub *.odt *.ott *.rtf|All files|*";

bool CheckTextFile(Program& p, const std::string& path, bool blnQuiet, bool& blnIsUTF8,
                   int16_t& intFileType, bool blnAskToContinue);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_INPUTFILE_H_
