// corpus, keywords and wordlist --corpus: many documents as one.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>

#include "analyses/AnalysisTable.h"
#include "analyses/Dispersion.h"
#include "cli/CommandSupport.h"
#include "corpus/Keyness.h"
#include "corpus/Subcorpus.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "ui/Corpora.h"
#include "ui/CorpusAnalyses.h"
#include "ui/CorpusLines.h"
#include "ui/CorpusQueries.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Snapshot.h"

namespace quillmoor {
namespace {

// Corpus --corpus with the --where filters, its words in p's table; false after the
// message.
bool ListCorpus(CommandRun& run, OpenCorpus* corpus) {
  std::string problem;
  if (run.options.keywordsFile.given) {
    run.terminal.Complain(
        "--keywords-file is read for one document only: over a corpus, give --keywords");
    return false;
  }
  if (!OpenCorpusWith(run.options.corpus.value, run.options.where, corpus, &problem)) {
    run.terminal.Complain(problem);
    return false;
  }
  TableOfCorpus(run.p, *corpus);
  return true;
}

// The words listed, in the run's order.
std::vector<int32_t> ListedInOrder(const Program& p) {
  std::vector<int32_t> order;
  if (p.frmMain.cboWordOrder.listIndex == 0) {
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[static_cast<size_t>(i)].blnIncluded) order.push_back(i);
    }
  } else {
    for (int32_t i = p.lngFirstFreq; i != 0; i = p.arrWords[static_cast<size_t>(i)].lngNextByFreq) {
      order.push_back(i);
    }
  }
  return order;
}

int CorpusInfo(CommandRun& run, const std::string& name) {
  CorpusIndex index;
  std::string problem;
  if (!LoadCorpus(name, &index, &problem)) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  std::string out = "corpus\t" + name + "\nfolder\t" + CorpusFolderOf(name) + "\nword rules\t" +
                    std::string(WordRuleSetName(index.rules())) + "\ndocuments\t" +
                    std::to_string(index.documents().size()) + "\nwords\t" +
                    std::to_string(index.wordCount()) + "\ntokens\t" +
                    std::to_string(index.tokenCount()) + "\ntypes\t" +
                    std::to_string(index.words().size()) + "\n\ndocument\twords\ttokens\tdigest";
  std::vector<std::string> columns;
  for (const CorpusDocument& d : index.documents()) {
    for (const auto& [key, value] : d.metadata) {
      if (std::find(columns.begin(), columns.end(), key) == columns.end()) columns.push_back(key);
    }
  }
  for (const std::string& c : columns) out += "\t" + c;
  out += "\n";
  for (const CorpusDocument& d : index.documents()) {
    out +=
        d.path + "\t" + std::to_string(d.words) + "\t" + std::to_string(d.tokens) + "\t" + d.digest;
    for (const std::string& c : columns) out += "\t" + d.Metadata(c);
    out += "\n";
  }
  return WriteOutput(run, "corpus information", [&out](const PieceWriter& write) { write(out); });
}

}  // namespace

int RunCorpus(CommandRun& run) {
  const std::vector<std::string>& words = run.options.corpusWords;
  const std::string& what = words[0];
  if (what == "list") {
    std::string out;
    for (const std::string& name : CorpusNames()) out += name + "\n";
    return WriteOutput(run, "corpus list", [&out](const PieceWriter& write) { write(out); });
  }
  if (words.size() < 2) {
    run.terminal.Complain("corpus " + what + " needs the corpus's NAME");
    return kExitUsage;
  }
  const std::string& name = words[1];
  if (what == "info") return CorpusInfo(run, name);
  if (what != "index" && what != "add" && what != "remove") {
    run.terminal.Complain("corpus takes index, add, remove, info or list, not '" + what + "'");
    return kExitUsage;
  }
  const std::vector<std::string> given(words.begin() + 2, words.end());
  if (given.empty() && what != "add") {
    run.terminal.Complain("corpus " + what + " needs the documents (files or folders)");
    return kExitUsage;
  }
  CorpusUpdate update;
  std::string problem;
  if (what == "remove") {
    for (const std::string& g : given) update.remove.push_back(AbsolutePath(g));
  } else if (!CorpusDocumentsOf(given, &update.add, &problem)) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  update.fresh = what == "index";
  if (run.options.metadata.given) update.metadataFile = AbsolutePath(run.options.metadata.value);
  Terminal& terminal = run.terminal;
  update.say = [&terminal](const std::string& line) { terminal.Say(line); };
  if (!UpdateCorpus(run.p, name, update, &problem)) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  return kExitDone;
}

int RunCorpusWordList(CommandRun& run) {
  OpenCorpus corpus;
  if (!ListCorpus(run, &corpus)) return kExitRefused;
  const CorpusIndex& index = corpus.index;
  const Subcorpus& sub = *corpus.subcorpus;
  const Program& p = run.p;
  const std::vector<int32_t> order = ListedInOrder(p);
  std::string out = "word\tfrequency\trange\tper_million";
  std::vector<uint32_t> columns;  // the documents of the per-document counts
  if (run.options.perDocument) {
    for (uint32_t d = 0; d < index.documents().size(); ++d) {
      if (!sub.Has(d)) continue;
      columns.push_back(d);
      out += "\t" + FileNameOf(index.documents()[d].path);
    }
  }
  out += "\n";
  std::vector<size_t> counts(index.documents().size());
  for (int32_t i : order) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    const int64_t w = index.Find(r.strWord);
    if (w < 0) continue;
    const uint32_t frequency = corpus.frequency[static_cast<size_t>(w)];
    AppendEngineTextAsUtf8(p.wordRules, r.strWord, &out);
    out += "\t" + std::to_string(frequency) + "\t" +
           std::to_string(corpus.range[static_cast<size_t>(w)]) + "\t" +
           FixedNumber(PerMillion(frequency, sub.words()), 2);
    if (run.options.perDocument) {
      std::fill(counts.begin(), counts.end(), 0);
      for (const DocumentHits& h : index.Hits(static_cast<size_t>(w))) {
        counts[h.document] = h.positions.size();
      }
      for (uint32_t d : columns) out += "\t" + std::to_string(counts[d]);
    }
    out += "\n";
  }
  run.terminal.Say(std::to_string(sub.documents()) + " documents, " + std::to_string(sub.words()) +
                   " words.");
  return WriteOutput(run, "word list", [&out](const PieceWriter& write) { write(out); });
}

// The lines of the query (--keywords in the query language) over the corpus; false
// after the message, with *status the exit status.
bool QueryLines(CommandRun& run, const OpenCorpus& corpus, CorpusLines* lines, int* status) {
  std::string problem;
  if (!FindInCorpus(corpus, TrimSpaces(run.options.keywords.value), QueryOptionsOf(run.options),
                    lines, &problem)) {
    run.terminal.Complain(problem);
    *status = kExitRefused;
    return false;
  }
  if (lines->size() == 0) {
    run.terminal.Say("No result: nothing in the corpus matches the query.");
    *status = kExitNoMatch;
    return false;
  }
  return true;
}

// The nodes of an analysis: the query's lines, or the words the keywords choose; false
// after the message, with *status the exit status.
bool NodesOf(CommandRun& run, const OpenCorpus& corpus, CorpusLines* lines,
             std::vector<int32_t>* words, int* status) {
  if (run.options.QueryLanguage()) return QueryLines(run, corpus, lines, status);
  *words = ChosenCorpusWords(run.p, corpus, run.options.keywords.value);
  if (!words->empty()) return true;
  run.terminal.Say("No result: no word of the corpus matches the keywords.");
  *status = kExitNoMatch;
  return false;
}

int RunCorpusKwic(CommandRun& run) {
  OpenCorpus corpus;
  if (!ListCorpus(run, &corpus)) return kExitRefused;
  const CliOptions& options = run.options;
  CorpusLines lines(corpus.index, *corpus.subcorpus, corpus.frequency);
  if (options.QueryLanguage()) {
    int status = kExitDone;
    if (!QueryLines(run, corpus, &lines, &status)) return status;
  } else {
    lines.Select(ChosenCorpusWords(run.p, corpus, run.options.keywords.value));
  }
  if (lines.size() == 0) {
    run.terminal.Say(options.keywords.given ? "No line: no word of the corpus matches the keywords."
                                            : "No word is listed: no line to write.");
    return options.keywords.given ? kExitNoMatch : kExitDone;
  }
  const std::vector<SortLevel> byWord = {{SortLevel::kKeyword, 0}};
  lines.Sort(options.sort.given ? options.sort.value : byWord);
  const int width = options.width.given ? options.width.value
                                        : std::max(1, run.p.frmMain.cboContextSize.listIndex);
  const KwicFormat format = options.format.given ? options.format.value : KwicFormat::kText;
  const size_t count = options.lines.given
                           ? std::min(lines.size(), static_cast<size_t>(options.lines.value))
                           : lines.size();
  const TextSource texts = KeptTextsOf(corpus);
  std::string problem;
  const int status = WriteOutput(run, "lines", [&](const PieceWriter& write) {
    lines.Export(0, count, width, format, texts, write, &problem);
  });
  if (!problem.empty()) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  return status;
}

// A query's search results over a corpus: for each text matched (alphabetically) its
// lines in document order, each with its document.
int RunCorpusQuerySearch(CommandRun& run, const OpenCorpus& corpus) {
  CorpusLines lines(corpus.index, *corpus.subcorpus, corpus.frequency);
  int status = kExitDone;
  if (!QueryLines(run, corpus, &lines, &status)) return status;
  lines.Sort({{SortLevel::kKeyword, 0}});
  const int width = std::max(1, run.p.frmMain.cboContextSize.listIndex);
  const TextSource texts = KeptTextsOf(corpus);
  std::string problem;
  status = WriteOutput(run, "search results", [&](const PieceWriter& write) {
    write("Corpus: " + corpus.name + " (" + std::to_string(corpus.subcorpus->documents()) +
          " documents)\n");
    std::vector<CorpusCut> cut;
    for (size_t begin = 0; begin < lines.size() && problem.empty();) {
      size_t end = begin + 1;
      while (end < lines.size() && lines.lines()[end].word == lines.lines()[begin].word) ++end;
      std::string out = "\n[";
      AppendEngineTextAsUtf8(corpus.index.rules(), lines.MatchText(lines.lines()[begin]), &out);
      out += " " + std::to_string(end - begin) + "]\n";
      // A chunk of lines at a time, so that a frequent text's are never all held.
      for (size_t from = begin; from < end; from += 20000) {
        if (!lines.Cut(from, std::min(end, from + 20000), width, texts, &cut, &problem)) return;
        for (const CorpusCut& c : cut)
          out += c.document + ": ... " + c.left + c.keyword + c.right + " ...\n";
        write(out);
        out.clear();
      }
      begin = end;
    }
  });
  if (!problem.empty()) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  return status;
}

int RunCorpusSearch(CommandRun& run) {
  const CliOptions& options = run.options;
  OpenCorpus corpus;
  if (!ListCorpus(run, &corpus)) return kExitRefused;
  if (options.QueryLanguage()) return RunCorpusQuerySearch(run, corpus);
  const std::vector<int32_t> chosen = ChosenCorpusWords(run.p, corpus, options.keywords.value);
  if (chosen.empty()) {
    run.terminal.Say("No result: no word of the corpus matches the keywords.");
    return kExitNoMatch;
  }
  // The words in the listing's order (alphabetical or by frequency, as a search lists
  // them), each with its lines in document order, each line with its document.
  const CorpusIndex& index = corpus.index;
  std::vector<bool> isChosen(index.words().size(), false);
  for (int32_t w : chosen) isChosen[static_cast<size_t>(w)] = true;
  const Program& p = run.p;
  const int width = std::max(1, p.frmMain.cboContextSize.listIndex);
  const TextSource texts = KeptTextsOf(corpus);
  std::string problem;
  const int status = WriteOutput(run, "search results", [&](const PieceWriter& write) {
    write("Corpus: " + corpus.name + " (" + std::to_string(corpus.subcorpus->documents()) +
          " documents)\n");
    CorpusLines lines(index, *corpus.subcorpus, corpus.frequency);
    std::vector<CorpusCut> cut;
    for (int32_t i : ListedInOrder(p)) {
      const int64_t w = index.Find(p.arrWords[static_cast<size_t>(i)].strWord);
      if (w < 0 || !isChosen[static_cast<size_t>(w)]) continue;
      lines.Select({static_cast<int32_t>(w)});
      if (lines.size() == 0) continue;
      std::string out = "\n[";
      AppendEngineTextAsUtf8(index.rules(), index.words()[static_cast<size_t>(w)].word, &out);
      out += " " + std::to_string(lines.size()) + "]\n";
      // A chunk of lines at a time, so that a frequent word's are never all held.
      for (size_t begin = 0; begin < lines.size() && problem.empty(); begin += 20000) {
        if (!lines.Cut(begin, std::min(lines.size(), begin + 20000), width, texts, &cut, &problem))
          return;
        for (const CorpusCut& c : cut)
          out += c.document + ": ... " + c.left + c.keyword + c.right + " ...\n";
        write(out);
        out.clear();
      }
    }
  });
  if (!problem.empty()) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  return status;
}

int RunCorpusDispersion(CommandRun& run) {
  OpenCorpus corpus;
  if (!ListCorpus(run, &corpus)) return kExitRefused;
  CorpusLines lines(corpus.index, *corpus.subcorpus, corpus.frequency);
  std::vector<int32_t> words;
  int status = kExitDone;
  if (!NodesOf(run, corpus, &lines, &words, &status)) return status;
  const AnalysisTable table =
      CorpusDispersionTable(corpus, words, run.options.QueryLanguage() ? &lines : nullptr);
  const KwicFormat format = run.options.format.given ? run.options.format.value : KwicFormat::kText;
  return WriteOutput(run, "dispersion",
                     [&](const auto& write) { ExportTable(table, format, write); });
}

int RunCorpusCollocates(CommandRun& run) {
  OpenCorpus corpus;
  if (!ListCorpus(run, &corpus)) return kExitRefused;
  CorpusLines lines(corpus.index, *corpus.subcorpus, corpus.frequency);
  std::vector<int32_t> nodes;
  int status = kExitDone;
  if (!NodesOf(run, corpus, &lines, &nodes, &status)) return status;
  const CliOptions& o = run.options;
  const AnalysisTable table = CorpusCollocatesTable(
      run.p, corpus, nodes, o.window.given ? o.window.value : CollocateWindow{},
      o.minFrequency.given ? o.minFrequency.value : 1,
      o.measure.given ? o.measure.value : CollocationMeasure::kLogDice,
      o.QueryLanguage() ? &lines : nullptr);
  const KwicFormat format = o.format.given ? o.format.value : KwicFormat::kText;
  return WriteOutput(run, "collocates",
                     [&](const auto& write) { ExportTable(table, format, write); });
}

int RunCorpusNgrams(CommandRun& run) {
  const CliOptions& o = run.options;
  if (o.acrossLines.given && !o.acrossLines.value) {
    run.terminal.Complain(
        "--no-across-lines: a corpus's index holds no line breaks, so its n-grams span them.");
    return kExitRefused;
  }
  if (o.QueryLanguage()) {
    run.terminal.Complain(
        "ngrams takes keywords, not a query of the query language: give words with "
        "wildcards, or use kwic or collocates for a phrase");
    return kExitRefused;
  }
  OpenCorpus corpus;
  if (!ListCorpus(run, &corpus)) return kExitRefused;
  const NgramOptions options{o.size.given ? o.size.value : 2, true,
                             o.minFrequency.given ? o.minFrequency.value : 1};
  const std::vector<int32_t> nodes = o.KeywordsGiven()
                                         ? ChosenCorpusWords(run.p, corpus, o.keywords.value)
                                         : std::vector<int32_t>();
  if (o.KeywordsGiven() && nodes.empty()) {
    run.terminal.Say("No result: no word of the corpus matches the keywords.");
    return kExitNoMatch;
  }
  const AnalysisTable table = CorpusNgramsTable(run.p, corpus, options, nodes);
  const KwicFormat format = o.format.given ? o.format.value : KwicFormat::kText;
  return WriteOutput(run, "n-grams", [&](const auto& write) { ExportTable(table, format, write); });
}

int RunKeywords(CommandRun& run) {
  OpenCorpus corpus;
  std::string problem;
  KeynessOptions options;
  options.p = run.options.pValue;
  options.bonferroni = run.options.bonferroni;
  options.negative = run.options.negative;
  KeywordsResult result;
  if (!OpenCorpusWith(run.options.corpus.value, run.options.where, &corpus, &problem) ||
      !CorpusKeywords(run.p, corpus, run.options.reference.value, run.options.referenceWhere,
                      options, &result, &problem)) {
    run.terminal.Complain(problem);
    return kExitRefused;
  }
  run.terminal.Say(std::to_string(result.rows.size()) + " keywords (" +
                   std::to_string(result.words) + " words against " +
                   std::to_string(result.referenceWords) + ").");
  const AnalysisTable table = CorpusKeywordsTable(corpus, result);
  return WriteOutput(run, "keywords",
                     [&](const auto& write) { ExportTable(table, KwicFormat::kTsv, write); });
}

}  // namespace quillmoor
