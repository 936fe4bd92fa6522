// The program as the benchmarks start it: the word table of one document made as a run
// makes it (the run stops after the counts).
#ifndef QUILLMOOR_BENCH_BENCHPROGRAM_H_
#define QUILLMOOR_BENCH_BENCHPROGRAM_H_

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ui/RunDriver.h"
#include "ui/InputFile.h"
#include "settings/StopWords.h"
#include "ui/StopWordBoxes.h"
#include "ui/Program.h"
#include "ui/Startup.h"

namespace quillmoor::bench {

// The document a bench program is given first (as an absolute path) into *file; false
// after printing "usage: NAME USAGE" when there is none.
inline bool FileArgument(int argc, char** argv, const char* usage, std::string* file) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s %s\n", std::filesystem::path(argv[0]).filename().c_str(),
                 usage);
    return false;
  }
  *file = std::filesystem::absolute(argv[1]).string();
  return true;
}

// Argument `k` as a number of runs (at least 1), or 5 when it is not given.
inline int RunsArgument(int argc, char** argv, int k) {
  return argc > k ? std::max(1, std::atoi(argv[k])) : 5;
}

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
