// Times the analyses on a document, in process, after its word table exists: the
// tokens (once per explorer window), the collocates of one frequent word (window
// 5L,5R), all the bigrams of the document, and the dispersion table of the twenty most
// frequent words that are not stop words. Prints the median of RUNS runs of each.
// Usage: quillmoor-analyses-bench FILE [WORD [RUNS]]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchProgram.h"
#include "BenchTiming.h"
#include "analyses/Collocates.h"
#include "analyses/Dispersion.h"
#include "analyses/Ngrams.h"
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
  if (!bench::FileArgument(argc, argv, "FILE [WORD [RUNS]]", &input)) return 2;
  const std::string node = argc > 2 ? argv[2] : "lord";
  const int runs = bench::RunsArgument(argc, argv, 3);
  ScriptedHost host;
  Program p{host};
  if (!bench::MakeWordTable(p, argv[0], input, true)) return 1;
  const ExploreSnapshot snapshot = TakeExploreSnapshot(p);
  const std::vector<bool> candidates = snapshot.flags.Candidates(false);
  int32_t nodeWord = 0;
  std::vector<int32_t> frequent;
  for (int32_t i = 1; i <= snapshot.numWords; ++i) {
    if (snapshot.words[static_cast<size_t>(i)].strWord == node) nodeWord = i;
    if (candidates[static_cast<size_t>(i)]) frequent.push_back(i);
  }
  std::sort(frequent.begin(), frequent.end(), [&](int32_t a, int32_t b) {
    return snapshot.words[static_cast<size_t>(a)].lngFrequency >
           snapshot.words[static_cast<size_t>(b)].lngFrequency;
  });
  frequent.resize(std::min<size_t>(frequent.size(), 20));
  std::vector<double> tokensTime, collocatesTime, bigramsTime, dispersionTime;
  size_t numTokens = 0, numCollocates = 0, numBigrams = 0, numRows = 0, nodes = 0;
  for (int r = 0; r < runs; ++r) {
    std::unique_ptr<TokenStream> tokens;
    tokensTime.push_back(
        Seconds([&] { tokens = std::make_unique<TokenStream>(snapshot.source()); }));
    numTokens = tokens->size();
    collocatesTime.push_back(Seconds([&] {
      const std::vector<size_t> at = tokens->TokensOf({nodeWord});
      nodes = at.size();
      numCollocates =
          FindCollocates(*tokens, at, candidates, {5, 5}, 1, CollocationMeasure::kLogDice).size();
    }));
    bigramsTime.push_back(Seconds([&] {
      numBigrams = FindNgrams(*tokens, {2, true, 1}, snapshot.flags.allowed, {}).size();
    }));
    dispersionTime.push_back(Seconds([&] { numRows = Disperse(*tokens, frequent).size(); }));
  }
  std::printf(
      "%-14s %zu tokens %.3f s | collocates of %s (%zu, 5L,5R) %.3f s: %zu | all bigrams %.3f s: "
      "%zu | "
      "dispersion of %zu words %.4f s\n",
      FileNameOf(input).c_str(), numTokens, Median(tokensTime), node.c_str(), nodes,
      Median(collocatesTime), numCollocates, Median(bigramsTime), numBigrams, numRows,
      Median(dispersionTime));
  return 0;
}

}  // namespace
}  // namespace quillmoor

int main(int argc, char** argv) { return quillmoor::Main(argc, argv); }
