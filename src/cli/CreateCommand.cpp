// create: the concordance file, or the concordance on standard output.
#include <string>

#include "cli/CommandSupport.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {

int RunCreate(CommandRun& run) {
  Program& p = run.p;
  const CliOptions& options = run.options;
  // Standard input has no folder of its own: its concordance goes to standard output.
  const bool toStdout = options.output.given ? options.output.value == "-" : options.file == "-";
  std::unique_ptr<ScratchFile> temporary;
  if (toStdout) {
    temporary = TemporaryFile(run.terminal, "concordance");
    if (temporary == nullptr) return kExitRefused;
    p.strOutputFileOverride = temporary->path();
    p.frmMain.chkWarnOnOverwrite.value = 0;
  }
  // The answers to the questions at the end are known ahead: the concordance file is
  // written as the listing grows (it replaces its target only where the answers say).
  p.blnDraftConcordance = true;
  cmdListWords_Click(p);
  int status = kExitRefused;
  if (p.blnOutputFileCreated) {
    if (toStdout) {
      status = CopyToStdout(run.terminal, temporary->path(),
                            options.file == "-" ? "(standard input)" : "");
    } else {
      run.terminal.Say("Concordance file: " + p.strConcordanceFile);
      status = kExitDone;
    }
  } else if (p.blnWordsGot && p.lngNumWordsIncluded == 0) {
    run.terminal.Say("No word is listed: nothing to write.");
    status = kExitDone;
  } else if (!toStdout) {
    status = NotWritten(run.terminal, p, p.strConcordanceFile);
  }
  return IndexWritten(run.terminal, p, status);
}

}  // namespace quillmoor
