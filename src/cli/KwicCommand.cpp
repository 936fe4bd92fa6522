// kwic: one line per occurrence, sorted and exported.
#include <string>
#include <thread>

#include "cli/CommandSupport.h"
#include "explore/KwicExport.h"
#include "explore/KwicRows.h"
#include "ui/Program.h"
#include "ui/Snapshot.h"

namespace quillmoor {

int RunKwic(CommandRun& run) {
  Program& p = run.p;
  const CliOptions& options = run.options;
  const bool asked = options.KeywordsGiven();
  const bool queried = options.QueryLanguage();
  ExploreQuery query;
  std::vector<int32_t> words;
  if (!TableToExplore(run, &query, &words)) return kExitRefused;
  ExploreSource source = RunSource(p);
  // A query's lines are its matches, each text matched a word of a table of its own.
  DocumentMatches matches;
  if (queried) {
    if (!QueryToExplore(run, &matches)) return kExitRefused;
    source.words = &matches.table;
    source.numWords = static_cast<int32_t>(matches.table.size()) - 1;
    words.clear();
    for (int32_t i = 1; i <= source.numWords; ++i) words.push_back(i);
  }
  KwicRows rows(source);
  const std::vector<SortLevel> byWord = {{SortLevel::kKeyword, 0}};
  const std::vector<SortLevel>& levels = options.sort.given ? options.sort.value : byWord;
  const int width =
      options.width.given ? options.width.value : std::max(1, p.frmMain.cboContextSize.listIndex);
  const KwicFormat format = options.format.given ? options.format.value : KwicFormat::kText;
  // Every listed word by word, in a table format: the rows are made key by key as the
  // export goes, never all held at once. Otherwise they are selected and sorted first.
  const bool streamed = !asked && levels == byWord && format != KwicFormat::kText;
  WordOrderRows inWordOrder(source, words);
  size_t count = inWordOrder.Total();
  if (!streamed) {
    if (levels == byWord) {
      rows.SelectInWordOrder(words);
    } else {
      rows.Select(words, false);  // the sort below orders them
    }
    if (asked && !queried)
      rows.KeepRowsIf([&](const KwicRow& row) { return query.KeepsRow(rows, row, width); });
    if (levels != byWord) rows.Sort(levels);
    count = rows.size();
  }
  if (count == 0) {
    run.terminal.Say(queried ? "No line: nothing in the input matches the query."
                     : asked ? "No line: no word of the input matches the keywords."
                             : "No word is listed: no line to write.");
    return asked ? kExitNoMatch : kExitDone;
  }
  const auto exportTo = [&](const PieceWriter& write) {
    const unsigned threads = std::thread::hardware_concurrency();
    if (streamed) {
      ExportKwicChunks(
          rows, [&inWordOrder](std::vector<KwicRow>* out) { return inWordOrder.Next(out); }, width,
          format, write, threads, 0);
    } else {
      ExportKwicInParallel(rows, width, format, write, threads);
    }
  };
  return WriteOutput(run, "lines", exportTo);
}

}  // namespace quillmoor
