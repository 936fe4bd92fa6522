#include "input/DocxReader.h"

#include "shared/Cp1252.h"
#include "shared/Program.h"

namespace quillmoor {

bool ReadDocxDocument(Program& p) {
  // Word-processor documents are not read yet: say so instead of scanning ZIP bytes.
  MsgBox(p,
         "File " + p.frmMain.txbFile[0].text + std::string(kCrLf) +
             "is a 'docx' file. Reading 'docx' files is not yet supported;" + std::string(kCrLf) +
             "please save the document as a text file and use that file.",
         MsgButtons::kOK, MsgIcon::kExclamation, p.GetProgramText(34));
  ClearOutput(p);
  RefreshOutput(p);
  return false;
}

}  // namespace quillmoor
