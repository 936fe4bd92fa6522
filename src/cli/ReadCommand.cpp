// read: the document text as a run reads it.
#include <string>

#include "cli/CommandSupport.h"
#include "shared/Cp1252.h"
#include "ui/InputDocument.h"
#include "ui/Program.h"

namespace quillmoor {

int RunRead(CommandRun& run) {
  Program& p = run.p;
  if (!ReadDocumentText(p)) return kExitRefused;
  run.terminal.Write(stdout, EngineTextAsUtf8(p.textRules, p.strLine) + "\n");
  return run.terminal.Flushed();
}

}  // namespace quillmoor
