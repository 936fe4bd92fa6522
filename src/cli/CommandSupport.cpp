#include "cli/CommandSupport.h"

#include <cctype>
#include <cerrno>

#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "ui/KeywordBoxes.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Snapshot.h"

namespace quillmoor {

// A new empty file in the temporary folder, removed when the run ends (or a signal
// ends it); null when none could be made (after a message).
std::unique_ptr<ScratchFile> TemporaryFile(Terminal& terminal, const char* what) {
  FileError error;
  std::unique_ptr<ScratchFile> file = ScratchFile::Temporary("quillmoor-", &error);
  if (file == nullptr || !file->Close(&error, false)) {
    terminal.Complain(std::string("no temporary file for the ") + what + " could be made in " +
                      TemporaryFolder() + ": " + error.description);
    return nullptr;
  }
  return file;
}

// Copies the file at `path` to standard output; with `inputShown`, its header names
// the input so.
int CopyToStdout(Terminal& terminal, const std::string& path, const std::string& inputShown) {
  std::string bytes;
  FileError error;
  if (!ReadFilePrefix(path, -1, &bytes, &error)) {
    terminal.Complain("the output could not be read back: " + error.description);
    return kExitRefused;
  }
  // Standard input's private copy is not a name for anyone: the header's first line
  // ("Input file: ...") says what the input was.
  if (!inputShown.empty() && bytes.starts_with("Input file: ")) {
    const size_t end = bytes.find_first_of("\r\n");
    if (end != std::string::npos) bytes.replace(12, end - 12, inputShown);
  }
  terminal.Write(stdout, bytes);
  return terminal.Flushed();
}

// The exit status of a run that wrote no file: a failed write was told by its
// message box; a file kept because the overwrite question was answered No is said
// here.
// After a write refused by the folder (no permission, a read-only file system): where
// the output can go instead.
std::string WhereToWrite(const std::string& file, const FileError& error) {
  if (error.number != kErrPermissionDenied && error.description != "Read-only file system")
    return "";
  return FolderOf(file) +
         " cannot be written: name another output file with --output FILE, or --output - for "
         "standard output";
}

int NotWritten(Terminal& terminal, const Program& p, const std::string& file) {
  if (!p.outputError.ok()) {
    const std::string hint = WhereToWrite(file, p.outputError);
    if (!hint.empty()) terminal.Complain(hint);
    return kExitRefused;
  }
  if (p.blnWordsGot && !p.blnStop && FileExists(file)) {
    terminal.Complain(file +
                      " exists and was not replaced (give --overwrite or --yes to replace it)");
  }
  return kExitRefused;
}

// After a run with --index: an index that could not be written is an error.
int IndexWritten(Terminal& terminal, const Program& p, int status) {
  if (status != kExitDone || !p.frmMain.chkCreateIndexFile.checked() || p.blnIndexFileCurrent)
    return status;
  terminal.Complain("the index file " + p.strIndexFile + " could not be written" +
                    (p.indexError.ok() ? "" : ": " + p.indexError.description));
  return kExitRefused;
}

// Writes what `produce` gives to the file `target` names (asking before replacing one,
// as a run does), or to standard output when it is "" or "-". `kind` names the file in
// the question and in the status line ("word list", "lines", "plot").
int WriteTo(CommandRun& run, const std::string& target, const std::string& kind,
            const Producer& produce) {
  Program& p = run.p;
  if (target.empty() || target == "-") {
    produce([&run](std::string_view piece) { run.terminal.Write(stdout, piece); });
    return run.terminal.Flushed();
  }
  const std::string file = AbsolutePath(target);
  if (Files().FileExists(file) && p.frmMain.chkWarnOnOverwrite.checked() &&
      MsgBox(p, "A " + kind + " file " + file + " already exists.  Do you wish to overwrite it?",
             MsgButtons::kYesNo, MsgIcon::kNone, "File exists") == MsgResult::kNo) {
    run.terminal.Complain(file +
                          " exists and was not replaced (give --overwrite or --yes to replace it)");
    return kExitRefused;
  }
  FileError error;
  const bool written = WritePiecesAtomically(file, produce, &error);
  if (!written) {
    run.terminal.Complain(file + ": " + error.description);
    const std::string hint = WhereToWrite(file, error);
    if (!hint.empty()) run.terminal.Complain(hint);
    return kExitRefused;
  }
  std::string shown = kind;
  shown[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shown[0])));
  run.terminal.Say(shown + " file: " + file);
  return kExitDone;
}

int WriteOutput(CommandRun& run, const std::string& kind, const Producer& produce) {
  const CliOptions& options = run.options;
  return WriteTo(run, options.output.given ? options.output.value : "", kind, produce);
}

// The keywords are checked before anything is scanned: a bad one costs no
// concordance. False after the message.
bool KeywordsAreValid(CommandRun& run) {
  Program& p = run.p;
  CliHost& host = run.host;
  const CliOptions& options = run.options;
  MainControls& m = p.frmMain;
  if (options.keywordsFile.given) {
    m.txbFile[2].text = AbsolutePath(options.keywordsFile.value);
    Concerning keywords(host, options.keywordsFile.value, m.txbFile[2].text);
    const bool read = ReadSearchWords(p, nullptr);
    m.txbFile[2].text.clear();
    if (!read) return false;
  }
  if (options.keywords.given) {
    m.txbExtraKeywords.text = TrimSpaces(options.keywords.value);
    Concerning keywords(host, "--keywords", "");
    if (!m.txbExtraKeywords.text.empty() && !GetExtraKeywords(p)) return false;
  }
  return true;
}

// The kwic query: the extra keywords and the words of a keywords file, as the search
// checked them. Empty when neither was given.
static ExploreQuery KwicQuery(const Program& p) {
  std::string keywords;
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j)
    keywords += p.strExtraKeywordList[static_cast<size_t>(j)] + " ";
  ExploreQuery query(keywords, p.keywordRules == WordRuleSet::kUnicode);
  for (int32_t i = 1; i <= p.lngNumSearchWords; ++i)
    query.AddPlainWord(p.strSearchWords[static_cast<size_t>(i)]);
  return query;
}

// The word table of a kwic or an analysis run, the display text its positions point
// into (p.strLine1), and the words asked about: those the keywords select (as a
// search, whatever the listing's filters), or the words the run lists. False after
// the message (refused or stopped).
bool TableToExplore(CommandRun& run, ExploreQuery* query, std::vector<int32_t>* words) {
  Program& p = run.p;
  const CliOptions& options = run.options;
  // (A query of the query language is the caller's: QueryToExplore.)
  const bool asked = options.KeywordsGiven() && !options.QueryLanguage();
  p.intNumExtraKeywords = p.lngNumSearchWords = 0;
  if (options.QueryLanguage() && options.keywordsFile.given) {
    run.terminal.Complain(
        "--keywords-file holds keywords only: give a query of the query language with "
        "--keywords");
    return false;
  }
  if (asked && !KeywordsAreValid(run)) return false;
  p.blnStopAfterCounts = true;
  cmdListWords_Click(p);
  if (!p.blnWordsGot) return false;  // refused, or stopped
  // After the run, which put the keywords in the engine text of the document's rules.
  if (asked) *query = KwicQuery(p);
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    if (asked ? query->SelectsWord(r.strWord) : r.blnIncluded) words->push_back(i);
  }
  std::string().swap(p.strLine);  // the scan's lower-case copy: not needed any more
  p.strLine1 = ExploreText(p);
  return true;
}

QueryOptions QueryOptionsOf(const CliOptions& options) {
  return {options.caseSensitive, !options.insideWords, options.withinLine};
}

bool QueryToExplore(CommandRun& run, DocumentMatches* matches) {
  std::string message;
  if (MatchDocument(run.p.strLine1, run.p.wordRules, TrimSpaces(run.options.keywords.value),
                    QueryOptionsOf(run.options), matches, &message))
    return true;
  run.terminal.Complain(message);
  return false;
}

}  // namespace quillmoor
