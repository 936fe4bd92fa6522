// search: the words the keywords ask for, with their context lines.
#include <string>

#include "cli/CommandSupport.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "ui/KeywordBoxes.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/QuerySearch.h"
#include "ui/RunDriver.h"

namespace quillmoor {

// The create-mode filters (stop words, threshold, hyphens, numerals) switched off
// while this object lives: a search's preliminary concordance must list every word,
// since none of them changes what a search lists.
namespace {

class CreateFiltersOff {
 public:
  explicit CreateFiltersOff(Program& p)
      : p_(p),
        params_(p.frmParams),
        stopWordsBox_(p.frmParams.txbStopWordsFile.text),
        extraStopWords_(p.strExtraStopWords),
        numStopWords_(p.lngNumStopWords) {
    ParamsControls& params = p.frmParams;
    params.chkAllowWordsWithHyphens.value = params.chkAllowWordsWithNumerals.value = 1;
    params.chkIgnoreInfrequentWords.value = 0;
    params.txbStopWordsFile.text.clear();
    p.strExtraStopWords.clear();
    p.lngNumStopWords = 0;
  }
  ~CreateFiltersOff() {
    ParamsControls& params = p_.frmParams;
    params.chkAllowWordsWithHyphens.value = params_.chkAllowWordsWithHyphens.value;
    params.chkAllowWordsWithNumerals.value = params_.chkAllowWordsWithNumerals.value;
    params.chkIgnoreInfrequentWords.value = params_.chkIgnoreInfrequentWords.value;
    params.txbStopWordsFile.text = stopWordsBox_;
    p_.strExtraStopWords = extraStopWords_;
    p_.lngNumStopWords = numStopWords_;
  }
  CreateFiltersOff(const CreateFiltersOff&) = delete;
  CreateFiltersOff& operator=(const CreateFiltersOff&) = delete;

 private:
  Program& p_;
  const ParamsControls params_;
  const std::string stopWordsBox_;
  const std::string extraStopWords_;
  const int32_t numStopWords_;
};

}  // namespace

// A query of the query language: the search results of its matches, from the document
// as a run reads it (no index file or concordance is needed).
int RunQuerySearch(CommandRun& run) {
  ExploreQuery unused;
  std::vector<int32_t> words;
  DocumentMatches matches;
  if (!TableToExplore(run, &unused, &words) || !QueryToExplore(run, &matches)) return kExitRefused;
  if (matches.matches.empty()) {
    run.terminal.Say("No result: nothing in the input matches the query.");
    return kExitNoMatch;
  }
  const bool windowsText = run.options.windowsText.given && run.options.windowsText.value;
  const std::string results = QuerySearchResults(run.p, matches, windowsText);
  return WriteOutput(run, "search results", [&results](const auto& write) { write(results); });
}

int RunSearch(CommandRun& run) {
  Program& p = run.p;
  const CliOptions& options = run.options;
  CliHost& host = run.host;
  MainControls& m = p.frmMain;
  if (options.QueryLanguage() && !options.corpus.given) return RunQuerySearch(run);
  if (!KeywordsAreValid(run)) return kExitRefused;
  // Search mode needs a concordance or an index file made for the input: without a
  // current index the concordance is made first, into a temporary file that nobody
  // else sees.
  if (p.blnIndexFileCurrent) {
    run.terminal.Say("Using the index file " + p.strIndexFile);
    optSearch_Click(p);
  } else {
    // A search lists from the word table alone: the run stops after the counts, and
    // the concordance file Search mode asks for is an empty temporary file.
    std::unique_ptr<ScratchFile> concordance = TemporaryFile(run.terminal, "concordance");
    if (concordance == nullptr) return kExitRefused;
    run.terminal.Say("Making the word table first (a search needs one) ...");
    p.blnStopAfterCounts = true;
    {
      CreateFiltersOff everyWord(p);
      cmdListWords_Click(p);
    }
    p.blnStopAfterCounts = false;
    if (!p.blnWordsGot || p.lngNumWordsIncluded == 0) {
      if (p.blnWordsGot)
        run.terminal.Complain("the input holds no word, so there is nothing to search");
      return kExitRefused;
    }
    p.strConcordanceFile = concordance->path();
    p.blnConcordanceFileCreated = true;
    if (IndexWritten(run.terminal, p, kExitDone) != kExitDone) return kExitRefused;
    optSearch_Click(p);
    // The temporary concordance goes now; Search mode stays.
  }
  if (!m.optSearch.value) return kExitRefused;
  if (options.keywordsFile.given) {
    m.txbFile[2].text = AbsolutePath(options.keywordsFile.value);
    Concerning keywords(host, options.keywordsFile.value, m.txbFile[2].text);
    AttemptToReadSearchWords(p);
    if (!p.blnSearchWordsLoaded) return kExitRefused;  // its message says why
  }
  if (options.keywords.given) {
    m.txbExtraKeywords.text = TrimSpaces(options.keywords.value);
    if (!m.txbExtraKeywords.text.empty() && !GetExtraKeywords(p)) return kExitRefused;
  }
  const bool toStdout = !options.output.given || options.output.value == "-";
  std::unique_ptr<ScratchFile> temporary;
  if (toStdout) {
    temporary = TemporaryFile(run.terminal, "search results");
    if (temporary == nullptr) return kExitRefused;
    m.txbFile[1].text = temporary->path();
    m.chkWarnOnOverwrite.value = 0;
  } else {
    m.txbFile[1].text = AbsolutePath(options.output.value);
  }
  p.blnSearchResultsFileCreated = false;
  cmdListWords_Click(p);
  if (p.blnSearchResultsFileCreated) {
    if (toStdout)
      return CopyToStdout(run.terminal, temporary->path(),
                          options.file == "-" ? "(standard input)" : "");
    run.terminal.Say("Search results file: " + m.txbFile[1].text);
    return kExitDone;
  }
  if (p.blnWordsGot && !p.blnStop && (p.lngNumWordsIncluded == 0 || p.strOutputBuffer.empty())) {
    run.terminal.Say("No result: no word of the input matches the keywords.");
    return kExitNoMatch;
  }
  if (toStdout || m.txbFile[1].text == m.txbFile[0].text) return kExitRefused;
  return NotWritten(run.terminal, p, m.txbFile[1].text);
}

}  // namespace quillmoor
