// corpus, keywords and wordlist --corpus: many documents as one.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "cli/CommandSupport.h"
#include "corpus/Keyness.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "ui/Corpora.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

std::string Number(double v, int decimals) {
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

double PerMillion(uint64_t frequency, uint64_t words) {
  return words == 0 ? 0 : static_cast<double>(frequency) * 1e6 / static_cast<double>(words);
}

// The corpus's words in p's table, marked and counted by the run's filters; false
// after the message when the corpus cannot be read.
bool ListCorpus(CommandRun& run, const std::string& name, CorpusIndex* index) {
  std::string problem;
  if (!LoadCorpus(name, index, &problem)) {
    run.terminal.Complain(problem);
    return false;
  }
  LoadCorpusTable(run.p, *index);
  OrderWordTable(run.p);
  MarkAndCountWords(run.p);
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
                    std::to_string(index.words()) + "\ntypes\t" +
                    std::to_string(index.types().size()) + "\n\ndocument\twords\tdigest";
  std::vector<std::string> columns;
  for (const CorpusDocument& d : index.documents()) {
    for (const auto& [key, value] : d.metadata) {
      if (std::find(columns.begin(), columns.end(), key) == columns.end()) columns.push_back(key);
    }
  }
  for (const std::string& c : columns) out += "\t" + c;
  out += "\n";
  for (const CorpusDocument& d : index.documents()) {
    out += d.path + "\t" + std::to_string(d.words) + "\t" + d.digest;
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
  CorpusIndex index;
  if (!ListCorpus(run, run.options.corpus.value, &index)) return kExitRefused;
  const Program& p = run.p;
  const std::vector<int32_t> order = ListedInOrder(p);
  std::string out = "word\tfrequency\trange\tper_million";
  if (run.options.perDocument) {
    for (const CorpusDocument& d : index.documents()) out += "\t" + FileNameOf(d.path);
  }
  out += "\n";
  for (int32_t i : order) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    const int64_t type = index.Find(r.strWord);
    if (type < 0) continue;
    const CorpusIndex::Type& t = index.types()[static_cast<size_t>(type)];
    AppendEngineTextAsUtf8(p.wordRules, r.strWord, &out);
    out += "\t" + std::to_string(t.frequency) + "\t" + std::to_string(t.range) + "\t" +
           Number(PerMillion(t.frequency, index.words()), 2);
    if (run.options.perDocument) {
      std::vector<size_t> counts(index.documents().size());
      for (const DocumentHits& h : index.Hits(static_cast<size_t>(type))) {
        counts[h.document] = h.positions.size();
      }
      for (size_t c : counts) out += "\t" + std::to_string(c);
    }
    out += "\n";
  }
  run.terminal.Say(std::to_string(index.documents().size()) + " documents, " +
                   std::to_string(index.words()) + " words.");
  return WriteOutput(run, "word list", [&out](const PieceWriter& write) { write(out); });
}

int RunKeywords(CommandRun& run) {
  CorpusIndex index;
  if (!ListCorpus(run, run.options.corpus.value, &index)) return kExitRefused;
  // The reference: a corpus, or a file of word<TAB>count lines.
  const std::string& reference = run.options.reference.value;
  std::unordered_map<std::string, std::pair<uint64_t, uint32_t>> counts;  // count, range
  uint64_t referenceWords = 0;
  CorpusIndex other;
  std::string problem;
  if (FileExists(CorpusIndexFileOf(reference)) || !FileExists(AbsolutePath(reference))) {
    if (!LoadCorpus(reference, &other, &problem)) {
      run.terminal.Complain(problem);
      return kExitRefused;
    }
    if (other.rules() != index.rules()) {
      run.terminal.Complain(
          "The reference " + reference + " was scanned under the " +
          std::string(WordRuleSetName(other.rules())) + " word rules, the corpus under the " +
          std::string(WordRuleSetName(index.rules())) + " ones: index both alike.");
      return kExitRefused;
    }
    for (const CorpusIndex::Type& t : other.types()) {
      counts[std::string(t.word)] = {t.frequency, t.range};
    }
    referenceWords = other.words();
  } else {
    std::unordered_map<std::string, uint64_t> list;
    if (!ReadFrequencyList(AbsolutePath(reference), index.rules(), &list, &referenceWords,
                           &problem)) {
      run.terminal.Complain(problem);
      return kExitRefused;
    }
    for (auto& [word, n] : list) counts[word].first = n;
  }
  if (referenceWords == 0 || index.words() == 0) {
    run.terminal.Complain("The corpus or the reference holds no words.");
    return kExitRefused;
  }
  const Program& p = run.p;
  std::vector<KeynessRow> rows;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    if (!r.blnIncluded) continue;
    const int64_t type = index.Find(r.strWord);
    if (type < 0) continue;
    KeynessRow row;
    row.word = r.strWord;
    row.frequency = index.types()[static_cast<size_t>(type)].frequency;
    row.range = index.types()[static_cast<size_t>(type)].range;
    if (const auto found = counts.find(r.strWord); found != counts.end()) {
      row.referenceFrequency = found->second.first;
      row.referenceRange = found->second.second;
    }
    rows.push_back(std::move(row));
  }
  KeynessOptions options;
  options.p = run.options.pValue;
  options.bonferroni = run.options.bonferroni;
  options.negative = run.options.negative;
  const std::vector<KeynessRow> keywords =
      KeywordsOf(std::move(rows), index.words(), referenceWords, options);
  std::string out =
      "word\tfrequency\tper_million\trange\treference_frequency\treference_per_million\t"
      "reference_range\tlog_likelihood\tp\tlog_ratio\tpercent_diff\tsimple_maths\n";
  for (const KeynessRow& k : keywords) {
    AppendEngineTextAsUtf8(p.wordRules, k.word, &out);
    out += "\t" + std::to_string(k.frequency) + "\t" +
           Number(PerMillion(k.frequency, index.words()), 2) + "\t" + std::to_string(k.range) +
           "\t" + std::to_string(k.referenceFrequency) + "\t" +
           Number(PerMillion(k.referenceFrequency, referenceWords), 2) + "\t" +
           std::to_string(k.referenceRange) + "\t" + Number(k.measures.logLikelihood, 2) + "\t" +
           Number(k.measures.p, 6) + "\t" + Number(k.measures.logRatio, 3) + "\t" +
           Number(k.measures.percentDiff, 1) + "\t" + Number(k.measures.simpleMaths, 3) + "\n";
  }
  run.terminal.Say(std::to_string(keywords.size()) + " keywords (" + std::to_string(index.words()) +
                   " words against " + std::to_string(referenceWords) + ").");
  return WriteOutput(run, "keywords", [&out](const PieceWriter& write) { write(out); });
}

}  // namespace quillmoor
