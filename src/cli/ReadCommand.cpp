// read: the document text as a run reads it.
#include <string>

#include "cli/CommandSupport.h"
#include "input/Markup.h"
#include "input/TextFile.h"
#include "shared/Cp1252.h"
#include "ui/InputDocument.h"
#include "ui/InputFile.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"

namespace quillmoor {

int RunRead(CommandRun& run) {
  Program& p = run.p;
  if (!CheckInputFile(p, p.frmMain.txbFile[0].text)) return kExitRefused;
  bool utf8 = false, ok = false;
  ReadInputDocument(p, utf8, ok);
  p.blnReadingFile = false;
  EnableControls(p, true);
  if (!ok) return kExitRefused;
  SelectMarkupHandling(p.blnCharacterEntitiesPossible,
                       GetFileExtension(p.frmMain.txbFile[0].text, true));
  if (p.blnCharacterEntitiesPossible) p.strLine = DecodeCharacterEntities(p.strLine);
  run.terminal.Write(stdout, Cp1252ToUtf8(p.strLine) + "\n");
  return run.terminal.Flushed();
}

}  // namespace quillmoor
