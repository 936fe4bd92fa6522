// Times the concordance explorer's core on a document, in process, after its word
// table exists: opening on every word (the rows of all words, all stop words kept),
// a three-level sort (R1, R2, R3) of all rows, narrowing the word list by a filter
// query (one keystroke), and cutting every row's context (what an export does).
// Prints the median of RUNS runs of each.
// Usage: quillmoor-explore-bench FILE [RUNS]
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
#include "explore/KwicRows.h"
#include "ui/Snapshot.h"
#include "shared/FileSystem.h"
#include "ui/Program.h"
#include "support/ScriptedHost.h"

namespace quillmoor {
namespace {

using bench::Median;
using bench::Seconds;

int Main(int argc, char** argv) {
  std::string input;
  if (!bench::FileArgument(argc, argv, "FILE [RUNS]", &input)) return 2;
  const int runs = bench::RunsArgument(argc, argv, 2);
  ScriptedHost host;
  Program p{host};
  if (!bench::MakeWordTable(p, argv[0], input, false)) return 1;
  const ExploreSnapshot snapshot = TakeExploreSnapshot(p);
  std::vector<int32_t> all;
  for (int32_t i = 1; i <= snapshot.numWords; ++i) all.push_back(i);
  std::vector<double> open, sort, filter, cut;
  size_t rows = 0, shown = 0, bytes = 0;
  for (int r = 0; r < runs; ++r) {
    KwicRows lines(snapshot.source());
    open.push_back(Seconds([&] { lines.Select(all); }));
    rows = lines.size();
    sort.push_back(Seconds([&] {
      lines.Sort({{SortLevel::kRight, 1}, {SortLevel::kRight, 2}, {SortLevel::kRight, 3}});
    }));
    filter.push_back(Seconds([&] {
      const ExploreQuery query("lo*");
      shown = 0;
      for (int32_t i = 1; i <= snapshot.numWords; ++i)
        shown += query.SelectsWord(snapshot.words[static_cast<size_t>(i)].strWord);
    }));
    cut.push_back(Seconds([&] {
      bytes = 0;
      for (const KwicRow& row : lines.rows()) {
        const KwicCut c = lines.Cut(row, 5);
        bytes += c.left.size() + c.keyword.size() + c.right.size();
      }
    }));
  }
  std::printf(
      "%-16s %8zu rows  open %.3f s  sort R1,R2,R3 %.3f s  filter %.4f s (%zu words)  "
      "cut all %.3f s (%zu bytes)\n",
      FileNameOf(input).c_str(), rows, Median(open), Median(sort), Median(filter), shown,
      Median(cut), bytes);
  return 0;
}

}  // namespace
}  // namespace quillmoor

int main(int argc, char** argv) { return quillmoor::Main(argc, argv); }
