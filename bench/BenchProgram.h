// The program as the benchmarks start it: the word table of one document made as a run
// makes it (the run stops after the counts).
#ifndef QUILLMOOR_BENCH_BENCHPROGRAM_H_
#define QUILLMOOR_BENCH_BENCHPROGRAM_H_

#include <string>

#include "engine/RunDriver.h"
#include "input/InputFile.h"
#include "settings/StopWords.h"
#include "shared/Program.h"
#include "ui/Startup.h"

namespace quillmoor::bench {

// Starts `p`, names `input` and makes its word table; without `stopWords` no stop-word
// list is loaded. False when the program cannot start.
inline bool MakeWordTable(Program& p, const char* argv0, const std::string& input, bool stopWords) {
  if (!StartProgram(p, ProgramFolder(argv0))) return false;
  p.frmMain.txbFile[0].text = input;
  InputFileLostFocus(p, 0);
  if (!stopWords) {
    EraseStopWords(p);
    p.frmParams.txbStopWordsFile.text.clear();
  }
  p.blnStopAfterCounts = true;
  cmdListWords_Click(p);
  return true;
}

}  // namespace quillmoor::bench

#endif  // QUILLMOOR_BENCH_BENCHPROGRAM_H_
