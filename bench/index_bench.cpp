// Times the index file of a document against scanning it: the scan (reading,
// normalising and cutting the document into the word table, counting and ranking),
// writing the index file, reading it back (the word table alone), and loading it as
// choosing the input does (the index and the document text). Prints the median of
// RUNS runs of each.
// Usage: quillmoor-index-bench FILE [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchProgram.h"
#include "BenchTiming.h"
#include "ui/RunDriver.h"
#include "ui/InputFile.h"
#include "output/IndexFile.h"
#include "ui/IndexFiles.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "ui/Program.h"
#include "support/ScriptedHost.h"
#include "ui/Startup.h"

namespace quillmoor {
namespace {

using bench::Median;
using bench::Seconds;

// A started program whose input box names `input`; every question is answered Yes.
struct Session {
  ScriptedHost host;
  Program p{host};
  Session(const char* argv0, const std::string& input) {
    if (!StartProgram(p, ProgramFolder(argv0))) std::exit(1);
    p.frmMain.txbFile[0].text = input;
    InputFileLostFocus(p, 0);
    p.blnStopAfterCounts = true;
  }
};

int Main(int argc, char** argv) {
  std::string input;
  if (!bench::FileArgument(argc, argv, "FILE [RUNS]", &input)) return 2;
  const int runs = bench::RunsArgument(argc, argv, 2);
  std::vector<double> scan, write, read, load;
  long long indexBytes = 0;
  int32_t words = 0;
  for (int r = 0; r < runs; ++r) {
    Session s(argv[0], input);
    scan.push_back(Seconds([&] { cmdListWords_Click(s.p); }));
    words = s.p.lngNumWords;
    write.push_back(Seconds([&] { WriteIndexFile(s.p); }));
    if (!s.p.blnIndexFileCurrent) {
      std::fprintf(stderr, "the index file could not be written\n");
      return 1;
    }
    FileError error;
    indexBytes = Files().FileLength(s.p.strIndexFile, &error);
    Session again(argv[0], input);
    again.host.answers = {MsgResult::kYes};
    read.push_back(Seconds([&] { ReadIndexFile(again.p); }));
    Session chosen(argv[0], input);
    chosen.host.answers = {MsgResult::kYes};
    load.push_back(Seconds([&] { LoadIndexIfPresent(chosen.p); }));
    if (!again.p.blnIndexFileCurrent || !chosen.p.blnIndexFileCurrent) {
      std::fprintf(stderr, "the index file could not be read\n");
      return 1;
    }
    DeleteFile(s.p.strIndexFile);
  }
  std::printf(
      "%-28s %8d words  index %9lld bytes  scan %.3f s  write %.3f s  read %.3f s  "
      "load with document %.3f s\n",
      FileNameOf(input).c_str(), words, indexBytes, Median(scan), Median(write), Median(read),
      Median(load));
  return 0;
}

}  // namespace
}  // namespace quillmoor

int main(int argc, char** argv) { return quillmoor::Main(argc, argv); }
