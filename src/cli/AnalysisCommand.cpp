// collocates, ngrams and dispersion: the analyses' tables and the dispersion plot.
#include <string>

#include "analyses/AnalysisTable.h"
#include "cli/CommandSupport.h"
#include "cli/PlotPng.h"
#include "shared/FileSystem.h"
#include "ui/Program.h"
#include "ui/Snapshot.h"

namespace quillmoor {

int RunAnalysis(CommandRun& run) {
  Program& p = run.p;
  const CliOptions& options = run.options;
  const bool asked = options.KeywordsGiven();
  ExploreQuery query;
  std::vector<int32_t> words;
  if (!TableToExplore(run, &query, &words)) return kExitRefused;
  // A query of the query language: its matches are the nodes.
  const bool queried = options.QueryLanguage();
  DocumentMatches matches;
  if (queried) {
    if (options.command == "ngrams") {
      run.terminal.Complain(
          "ngrams takes keywords, not a query of the query language: give words with "
          "wildcards, or use kwic or collocates for a phrase");
      return kExitRefused;
    }
    if (!QueryToExplore(run, &matches)) return kExitRefused;
    if (matches.matches.empty()) {
      run.terminal.Say("No result: nothing in the input matches the query.");
      return kExitNoMatch;
    }
  } else if (asked && words.empty()) {
    run.terminal.Say("No result: no word of the input matches the keywords.");
    return kExitNoMatch;
  }
  const WordFlags flags = TakeWordFlags(p);
  const ExploreSource source = RunSource(p);
  const TokenStream tokens(source);
  const int32_t minFrequency = options.minFrequency.given ? options.minFrequency.value : 1;
  AnalysisTable table;
  std::string kind;
  std::vector<DispersionRow> rows;
  if (options.command == "collocates") {
    kind = "collocates";
    const CollocateWindow window = options.window.given ? options.window.value : CollocateWindow{};
    const CollocationMeasure measure =
        options.measure.given ? options.measure.value : CollocationMeasure::kLogDice;
    table = CollocateTable(
        tokens, queried
                    ? FindCollocatesAround(tokens, MatchSpans(tokens, matches),
                                           flags.Candidates(false), window, minFrequency, measure)
                    : FindCollocates(tokens, tokens.TokensOf(words), flags.Candidates(false),
                                     window, minFrequency, measure));
  } else if (options.command == "ngrams") {
    kind = "n-grams";
    std::vector<bool> nodes;
    if (asked) {
      nodes.assign(flags.allowed.size(), false);
      for (int32_t w : words) nodes[static_cast<size_t>(w)] = true;
    }
    const NgramOptions ngrams{options.size.given ? options.size.value : 2,
                              !options.acrossLines.given || options.acrossLines.value,
                              minFrequency};
    table = NgramTable(tokens, FindNgrams(tokens, ngrams, flags.allowed, nodes));
  } else {
    kind = "dispersion";
    rows = queried ? DisperseMatches(tokens, matches) : Disperse(tokens, words);
    table = DispersionTable(tokens, rows);
    const std::string name = options.file == "-" ? "standard input" : FileNameOf(options.file);
    const DispersionPlot plot(tokens, rows, "Dispersion in " + name);
    if (options.svg.given) {
      const std::string svg = plot.Svg();
      const int status =
          WriteTo(run, options.svg.value, "plot", [&svg](const auto& write) { write(svg); });
      if (status != kExitDone) return status;
    }
    if (options.png.given) {
      std::string png, error;
      if (!PlotPng(plot, &png, &error)) {
        run.terminal.Complain(options.png.value + ": " + error);
        return kExitRefused;
      }
      const int status =
          WriteTo(run, options.png.value, "plot", [&png](const auto& write) { write(png); });
      if (status != kExitDone) return status;
    }
  }
  const KwicFormat format = options.format.given ? options.format.value : KwicFormat::kText;
  return WriteOutput(run, kind, [&](const auto& write) { ExportTable(table, format, write); });
}

}  // namespace quillmoor
