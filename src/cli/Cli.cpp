#include "cli/Cli.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "analyses/AnalysisTable.h"
#include "cli/PlotPng.h"
#include "explore/KwicExport.h"
#include "explore/KwicRows.h"
#include "explore/Snapshot.h"
#include "input/InputDocument.h"
#include "input/InputFile.h"
#include "input/Markup.h"
#include "input/TextFile.h"
#include "output/Concordance.h"
#include "output/IndexFile.h"
#include "output/KeywordSearch.h"
#include "settings/Settings.h"
#include "settings/StopWords.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/KeptFiles.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"
#include "shared/ScratchFile.h"
#include "shared/Utf8.h"
#include "ui/MainWindow.h"
#include "ui/RunDriver.h"
#include "ui/Startup.h"

namespace quillmoor {
namespace {

// The cause of the first failed write to standard output (0 while none failed).
int g_stdoutErrno = 0;

void Write(std::FILE* out, const std::string& text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() && out == stdout &&
      g_stdoutErrno == 0) {
    g_stdoutErrno = errno;
  }
}

// The host of the run, for its progress line and --quiet; null before the run starts.
CliHost* g_host = nullptr;
bool g_quiet = false;

// An error: always printed.
void Complain(const std::string& text) {
  if (g_host != nullptr) g_host->EndProgressLine();
  Write(stderr, "quillmoor-cli: " + text + "\n");
}

// Messages shown while this object lives concern the file `shown` (at `path`).
class Concerning {
 public:
  Concerning(CliHost& host, const std::string& shown, const std::string& path)
      : host_(host), shown_(host.subject()), path_(host.subject_path()) {
    host.set_subject(shown, path);
  }
  ~Concerning() { host_.set_subject(shown_, path_); }
  Concerning(const Concerning&) = delete;
  Concerning& operator=(const Concerning&) = delete;

 private:
  CliHost& host_;
  const std::string shown_, path_;
};

// A status line: left out with --quiet.
void Say(const std::string& text) {
  if (g_quiet) return;
  if (g_host != nullptr) g_host->EndProgressLine();
  Write(stderr, text + "\n");
}

// Flushes standard output and says why it failed ("standard output: Disk full").
int Flushed() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return kExitDone;
  Complain("standard output: " +
           FileErrorFromErrno(g_stdoutErrno != 0 ? g_stdoutErrno : errno).description);
  return kExitRefused;
}

// Start-up as the desktop program does it; the command line keeps the overwrite
// warning on, so that no file is replaced unasked.
bool StartUp(Program& p, const std::string& dataFolder) {
  UseSystemNumberLocale();
  if (!StartProgram(p, dataFolder)) return false;
  p.frmMain.chkWarnOnOverwrite.value = 1;
  return true;
}

// Takes the options of a settings file, as loading it in the parameters window does
// (the input stays the one named); its stop-word file and extra stop words take
// effect. False (after the message)
// when it cannot be read.
bool LoadSettings(Program& p, const std::string& given) {
  const std::string path = AbsolutePath(given);
  const std::string loadedStopWords = p.strStopWordsFile;
  const std::string inputBox = p.frmMain.txbFile[0].text;
  const std::string inputExtension = p.strInputExtension;
  const std::string result = RestoreSavedState(p, path);
  // The input is the one named on the command line, not the one in the file.
  p.frmMain.txbFile[0].text = inputBox;
  p.strInputExtension = inputExtension;
  if (!result.empty()) {
    MsgBox(p, result, MsgButtons::kOK, MsgIcon::kExclamation, "Load settings");
    return false;
  }
  if (p.blnStopWordsGivenByCaller) {
    // --stop-words decides.
  } else if (p.strStopWordsFile.empty()) {
    EraseStopWords(p);
  } else if (Utf8Lower(p.strStopWordsFile) != loadedStopWords) {
    AttemptToReadStopWords(p);
    if (!p.blnStopWordsLoaded) return false;
  }
  txbExtraStopWords_LostFocus(p);
  return true;
}

// Names the input the way typing it into the input box does; a run command also
// takes its index file when there is one (as choosing the input does; a word list
// needs no document text with it). False when refused.
bool NameInput(Program& p, const std::string& boxText, bool run, bool withText) {
  p.frmMain.txbFile[0].text = boxText;
  p.frmMain.chkUTF8[0].value = 0;
  if (!InputFileLostFocus(p, 0)) return false;
  if (run) LoadIndexIfPresent(p, withText);
  return true;
}

// The stop-word file an option names: a language code, or a path.
std::string StopWordFileFor(const Program& p, const std::string& which) {
  static const std::pair<const char*, int> kCodes[] = {
      {"en", 0}, {"de", 1}, {"es", 2}, {"pt", 3}, {"it", 4}, {"fr", 5}, {"en_de", 6}, {"all", 7}};
  for (const auto& [code, index] : kCodes) {
    if (which == code)
      return JoinPath(p.strProgramFolder, p.texts.arrStopWordFiles[static_cast<size_t>(index)]);
  }
  return AbsolutePath(which);
}

// Sets the controls the options name, after the input was chosen. False when an
// option could not be applied (its message was shown).
bool ApplyOptions(Program& p, CliHost& host, const CliOptions& o) {
  MainControls& m = p.frmMain;
  ParamsControls& params = p.frmParams;
  if (o.wordOrder.given) m.cboWordOrder.listIndex = o.wordOrder.value;
  if (o.context.given) {
    m.cboContextSize.listIndex = o.context.value;
    EnableControls(p, true);
    m.chkShowLineBreaks.enabled = m.chkShowLineBreaks.enabled && o.context.value >= 1;
  }
  if (o.frequencies.given) m.chkFrequencies.value = o.frequencies.value ? 1 : 0;
  if (o.lineBreaks.given) m.chkShowLineBreaks.value = o.lineBreaks.value ? 1 : 0;
  if (o.hyphens.given) params.chkAllowWordsWithHyphens.value = o.hyphens.value ? 1 : 0;
  if (o.numerals.given) params.chkAllowWordsWithNumerals.value = o.numerals.value ? 1 : 0;
  if (o.minFrequency.given && !IsAnalysisCommand(o.command)) {
    params.chkIgnoreInfrequentWords.value = 1;
    params.cboThresholdFrequency.listIndex = o.minFrequency.value - 2;
  }
  if (o.overwrite) m.chkWarnOnOverwrite.value = 0;
  if (o.index.given) m.chkCreateIndexFile.value = o.index.value ? 1 : 0;
  if (o.windowsText.given) params.chkWindowsText.value = o.windowsText.value ? 1 : 0;
  if (o.stopWords.given) {
    if (o.stopWords.value == "none") {
      EraseStopWords(p);
      params.txbStopWordsFile.text.clear();
    } else {
      const std::string path = StopWordFileFor(p, o.stopWords.value);
      params.txbStopWordsFile.text = path;
      p.strStopWordsFile = path;
      Concerning stopWords(host, o.stopWords.value, path);
      AttemptToReadStopWords(p);
      if (!p.blnStopWordsLoaded) return false;  // its message says why
    }
  }
  if (o.extraStopWords.given) {
    params.txbExtraStopWords.text = o.extraStopWords.value;
    txbExtraStopWords_LostFocus(p);
  }
  if (o.output.given && o.output.value != "-" && o.command != "search") {
    p.strOutputFileOverride = AbsolutePath(o.output.value);
  }
  return true;
}

// The words listed, in the chosen order, as "word<TAB>frequency" lines.
std::string WordListText(const Program& p) {
  std::string out;
  auto line = [&out](const WordRecord& r) {
    out += Cp1252ToUtf8(r.strWord);
    out += '\t';
    out += std::to_string(r.lngFrequency);
    out += '\n';
  };
  if (p.frmMain.cboWordOrder.listIndex == 0) {
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[static_cast<size_t>(i)].blnIncluded) line(p.arrWords[static_cast<size_t>(i)]);
    }
  } else {
    for (int32_t i = p.lngFirstFreq; i != 0; i = p.arrWords[static_cast<size_t>(i)].lngNextByFreq) {
      line(p.arrWords[static_cast<size_t>(i)]);
    }
  }
  return out;
}

// A new empty file in the temporary folder, removed when the run ends (or a signal
// ends it); null when none could be made (after a message).
std::unique_ptr<ScratchFile> TemporaryFile(const char* what) {
  FileError error;
  std::unique_ptr<ScratchFile> file = ScratchFile::Temporary("quillmoor-", &error);
  if (file == nullptr || !file->Close(&error, false)) {
    Complain(std::string("no temporary file for the ") + what + " could be made in " +
             TemporaryFolder() + ": " + error.description);
    return nullptr;
  }
  return file;
}

// Copies the file at `path` to standard output; with `inputShown`, its header names
// the input so.
int CopyToStdout(const std::string& path, const std::string& inputShown = "") {
  std::string bytes;
  FileError error;
  if (!ReadFilePrefix(path, -1, &bytes, &error)) {
    Complain("the output could not be read back: " + error.description);
    return kExitRefused;
  }
  // Standard input's private copy is not a name for anyone: the header's first line
  // ("Input file: ...") says what the input was.
  if (!inputShown.empty() && bytes.starts_with("Input file: ")) {
    const size_t end = bytes.find_first_of("\r\n");
    if (end != std::string::npos) bytes.replace(12, end - 12, inputShown);
  }
  Write(stdout, bytes);
  return Flushed();
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

int NotWritten(const Program& p, const std::string& file) {
  if (!p.outputError.ok()) {
    const std::string hint = WhereToWrite(file, p.outputError);
    if (!hint.empty()) Complain(hint);
    return kExitRefused;
  }
  if (p.blnWordsGot && !p.blnStop && FileExists(file)) {
    Complain(file + " exists and was not replaced (give --overwrite or --yes to replace it)");
  }
  return kExitRefused;
}

// After a run with --index: an index that could not be written is an error.
int IndexWritten(const Program& p, int status) {
  if (status != kExitDone || !p.frmMain.chkCreateIndexFile.checked() || p.blnIndexFileCurrent)
    return status;
  Complain("the index file " + p.strIndexFile + " could not be written" +
           (p.indexError.ok() ? "" : ": " + p.indexError.description));
  return kExitRefused;
}

// The create-mode filters (stop words, threshold, hyphens, numerals) switched off
// while this object lives: a search's preliminary concordance must list every word,
// since none of them changes what a search lists.
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

// The checks of the command line's input before anything is loaded: it exists, is a
// file and is not one of the program's own output files. False after the message.
bool CheckNamedInput(const CliOptions& options, const std::string& input) {
  if (Files().FolderExists(input)) {
    Complain(options.file + ": is a folder, not a file");
    return false;
  }
  if (!Files().FileExists(input)) {
    Complain(options.file + ": Input file does not exist.");
    return false;
  }
  if (IsIndexFileName(input)) {
    Complain(options.file + ": This is an OXN index file.");
    return false;
  }
  if (IsConcordanceFileName(input)) {
    Complain(options.file + ": This is an OXN concordance file.");
    return false;
  }
  return true;
}

// An output named on the command line must not be the input (through a link or
// another name either). False after the message.
bool OutputIsNotInput(const std::string& given, const std::string& input) {
  if (given.empty() || given == "-" || !SameFile(AbsolutePath(given), input)) return true;
  Complain(given + ": is the input file; name another output file");
  return false;
}

}  // namespace

int RunRead(Program& p) {
  if (!CheckInputFile(p, p.frmMain.txbFile[0].text)) return kExitRefused;
  bool utf8 = false, ok = false;
  ReadInputDocument(p, utf8, ok);
  p.blnReadingFile = false;
  EnableControls(p, true);
  if (!ok) return kExitRefused;
  SelectMarkupHandling(p, GetFileExtension(p.frmMain.txbFile[0].text, true));
  if (p.blnCharacterEntitiesPossible) p.strLine = DecodeCharacterEntities(p.strLine);
  Write(stdout, Cp1252ToUtf8(p.strLine) + "\n");
  return Flushed();
}

namespace {

using Producer = std::function<void(const PieceWriter&)>;

// Writes what `produce` gives to the file `target` names (asking before replacing one,
// as a run does), or to standard output when it is "" or "-". `kind` names the file in
// the question and in the status line ("word list", "lines", "plot").
int WriteTo(Program& p, const std::string& target, const std::string& kind,
            const Producer& produce) {
  if (target.empty() || target == "-") {
    produce([](std::string_view piece) { Write(stdout, std::string(piece)); });
    return Flushed();
  }
  const std::string file = AbsolutePath(target);
  if (Files().FileExists(file) && p.frmMain.chkWarnOnOverwrite.checked() &&
      MsgBox(p, "A " + kind + " file " + file + " already exists.  Do you wish to overwrite it?",
             MsgButtons::kYesNo, MsgIcon::kNone, "File exists") == MsgResult::kNo) {
    Complain(file + " exists and was not replaced (give --overwrite or --yes to replace it)");
    return kExitRefused;
  }
  FileError error;
  const bool written = WritePiecesAtomically(file, produce, &error);
  if (!written) {
    Complain(file + ": " + error.description);
    const std::string hint = WhereToWrite(file, error);
    if (!hint.empty()) Complain(hint);
    return kExitRefused;
  }
  std::string shown = kind;
  shown[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shown[0])));
  Say(shown + " file: " + file);
  return kExitDone;
}

// The same for the --output file.
int WriteOutput(Program& p, const CliOptions& options, const std::string& kind,
                const Producer& produce) {
  return WriteTo(p, options.output.given ? options.output.value : "", kind, produce);
}

}  // namespace

int RunWordList(Program& p, const CliOptions& options) {
  p.blnStopAfterCounts = true;
  // The text is never shown; an index file written meanwhile needs its display copy.
  p.blnNoDisplayCopy = !p.frmMain.chkCreateIndexFile.checked();
  cmdListWords_Click(p);
  p.blnNoDisplayCopy = false;
  if (!p.blnWordsGot) return kExitRefused;  // refused, or stopped
  const MainControls& m = p.frmMain;
  std::string counts = m.lblNumberOfWords.caption;
  if (!m.lblNumOccurrences.caption.empty()) counts += "\n" + m.lblNumOccurrences.caption;
  Say(counts);
  const std::string text = WordListText(p);
  return WriteOutput(p, options, "word list", [&text](const PieceWriter& write) { write(text); });
}

int RunCreate(Program& p, const CliOptions& options) {
  // Standard input has no folder of its own: its concordance goes to standard output.
  const bool toStdout = options.output.given ? options.output.value == "-" : options.file == "-";
  std::unique_ptr<ScratchFile> temporary;
  if (toStdout) {
    temporary = TemporaryFile("concordance");
    if (temporary == nullptr) return kExitRefused;
    p.strOutputFileOverride = temporary->path();
    p.frmMain.chkWarnOnOverwrite.value = 0;
  }
  // The answers to the questions at the end are known ahead: the concordance file is
  // written as the listing grows (it replaces its target only where the answers say).
  p.blnDraftConcordance = true;
  cmdListWords_Click(p);
  int status = kExitRefused;
  if (p.blnOutputFileCreated) {
    if (toStdout) {
      status = CopyToStdout(temporary->path(), options.file == "-" ? "(standard input)" : "");
    } else {
      Say("Concordance file: " + p.strConcordanceFile);
      status = kExitDone;
    }
  } else if (p.blnWordsGot && p.lngNumWordsIncluded == 0) {
    Say("No word is listed: nothing to write.");
    status = kExitDone;
  } else if (!toStdout) {
    status = NotWritten(p, p.strConcordanceFile);
  }
  return IndexWritten(p, status);
}

// The keywords are checked before anything is scanned: a bad one costs no
// concordance. False after the message.
bool KeywordsAreValid(Program& p, CliHost& host, const CliOptions& options) {
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

int RunSearch(Program& p, CliHost& host, const CliOptions& options) {
  MainControls& m = p.frmMain;
  if (!KeywordsAreValid(p, host, options)) return kExitRefused;
  // Search mode needs a concordance or an index file made for the input: without a
  // current index the concordance is made first, into a temporary file that nobody
  // else sees.
  if (p.blnIndexFileCurrent) {
    Say("Using the index file " + p.strIndexFile);
    optSearch_Click(p);
  } else {
    // A search lists from the word table alone: the run stops after the counts, and
    // the concordance file Search mode asks for is an empty temporary file.
    std::unique_ptr<ScratchFile> concordance = TemporaryFile("concordance");
    if (concordance == nullptr) return kExitRefused;
    Say("Making the word table first (a search needs one) ...");
    p.blnStopAfterCounts = true;
    {
      CreateFiltersOff everyWord(p);
      cmdListWords_Click(p);
    }
    p.blnStopAfterCounts = false;
    if (!p.blnWordsGot || p.lngNumWordsIncluded == 0) {
      if (p.blnWordsGot) Complain("the input holds no word, so there is nothing to search");
      return kExitRefused;
    }
    p.strConcordanceFile = concordance->path();
    p.blnConcordanceFileCreated = true;
    if (IndexWritten(p, kExitDone) != kExitDone) return kExitRefused;
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
    temporary = TemporaryFile("search results");
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
      return CopyToStdout(temporary->path(), options.file == "-" ? "(standard input)" : "");
    Say("Search results file: " + m.txbFile[1].text);
    return kExitDone;
  }
  if (p.blnWordsGot && !p.blnStop && (p.lngNumWordsIncluded == 0 || p.strOutputBuffer.empty())) {
    Say("No result: no word of the input matches the keywords.");
    return kExitNoMatch;
  }
  if (toStdout || m.txbFile[1].text == m.txbFile[0].text) return kExitRefused;
  return NotWritten(p, m.txbFile[1].text);
}

namespace {

// The kwic query: the extra keywords and the words of a keywords file, as the search
// checked them. Empty when neither was given.
ExploreQuery KwicQuery(const Program& p) {
  std::string keywords;
  for (int32_t j = 1; j <= p.intNumExtraKeywords; ++j)
    keywords += p.strExtraKeywordList[static_cast<size_t>(j)] + " ";
  ExploreQuery query(keywords);
  for (int32_t i = 1; i <= p.lngNumSearchWords; ++i)
    query.AddPlainWord(p.strSearchWords[static_cast<size_t>(i)]);
  return query;
}

// The word table of a kwic or an analysis run, the display text its positions point
// into (p.strLine1), and the words asked about: those the keywords select (as a
// search, whatever the listing's filters), or the words the run lists. False after
// the message (refused or stopped).
bool TableToExplore(Program& p, CliHost& host, const CliOptions& options, ExploreQuery* query,
                    std::vector<int32_t>* words) {
  const bool asked = options.keywords.given || options.keywordsFile.given;
  p.intNumExtraKeywords = p.lngNumSearchWords = 0;
  if (asked && !KeywordsAreValid(p, host, options)) return false;
  if (asked) *query = KwicQuery(p);
  p.blnStopAfterCounts = true;
  cmdListWords_Click(p);
  if (!p.blnWordsGot) return false;  // refused, or stopped
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    if (asked ? query->SelectsWord(r.strWord) : r.blnIncluded) words->push_back(i);
  }
  std::string().swap(p.strLine);  // the scan's lower-case copy: not needed any more
  p.strLine1 = ExploreText(p);
  return true;
}

}  // namespace

int RunKwic(Program& p, CliHost& host, const CliOptions& options) {
  const bool asked = options.keywords.given || options.keywordsFile.given;
  ExploreQuery query;
  std::vector<int32_t> words;
  if (!TableToExplore(p, host, options, &query, &words)) return kExitRefused;
  const ExploreSource source{&p.arrWords, p.lngNumWords, p.strLine1};
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
    if (asked)
      rows.KeepRowsIf([&](const KwicRow& row) { return query.KeepsRow(rows, row, width); });
    if (levels != byWord) rows.Sort(levels);
    count = rows.size();
  }
  if (count == 0) {
    Say(asked ? "No line: no word of the input matches the keywords."
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
  return WriteOutput(p, options, "lines", exportTo);
}

int RunAnalysis(Program& p, CliHost& host, const CliOptions& options) {
  const bool asked = options.keywords.given || options.keywordsFile.given;
  ExploreQuery query;
  std::vector<int32_t> words;
  if (!TableToExplore(p, host, options, &query, &words)) return kExitRefused;
  if (asked && words.empty()) {
    Say("No result: no word of the input matches the keywords.");
    return kExitNoMatch;
  }
  const WordFlags flags = TakeWordFlags(p);
  const ExploreSource source{&p.arrWords, p.lngNumWords, p.strLine1};
  const TokenStream tokens(source);
  const int32_t minFrequency = options.minFrequency.given ? options.minFrequency.value : 1;
  AnalysisTable table;
  std::string kind;
  std::vector<DispersionRow> rows;
  if (options.command == "collocates") {
    kind = "collocates";
    table = CollocateTable(
        tokens, FindCollocates(
                    tokens, tokens.TokensOf(words), flags.Candidates(false),
                    options.window.given ? options.window.value : CollocateWindow{}, minFrequency,
                    options.measure.given ? options.measure.value : CollocationMeasure::kLogDice));
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
    rows = Disperse(tokens, words);
    table = DispersionTable(tokens, rows);
    const std::string name = options.file == "-" ? "standard input" : FileNameOf(options.file);
    const DispersionPlot plot(tokens, rows, "Dispersion in " + name);
    if (options.svg.given) {
      const std::string svg = plot.Svg();
      const int status =
          WriteTo(p, options.svg.value, "plot", [&svg](const auto& write) { write(svg); });
      if (status != kExitDone) return status;
    }
    if (options.png.given) {
      std::string png, error;
      if (!PlotPng(plot, &png, &error)) {
        Complain(options.png.value + ": " + error);
        return kExitRefused;
      }
      const int status =
          WriteTo(p, options.png.value, "plot", [&png](const auto& write) { write(png); });
      if (status != kExitDone) return status;
    }
  }
  const KwicFormat format = options.format.given ? options.format.value : KwicFormat::kText;
  return WriteOutput(p, options, kind,
                     [&](const auto& write) { ExportTable(table, format, write); });
}

void PressStopFromTerminal(Program& p, CliHost& host) {
  if (!p.frmMain.cmdListWords.enabled) {
    // From the marking of the words on a run cannot stop.
    CliHost::TellFinishingTheWrite();
    return;
  }
  host.AnswerNextQuestion(MsgResult::kYes);
  cmdListWords_Click(p);
}

namespace {

// Standard input, copied into a private temporary folder (removed on every path, a
// signal's too) so that the run can read it as a file.
class StandardInputCopy {
 public:
  ~StandardInputCopy() {
    if (!folder_.empty()) RemoveScratchFolder(folder_);
  }
  // The file's path, or "" after the message.
  std::string Make() {
    folder_ = CreateScratchFolder("quillmoor-stdin-");
    if (folder_.empty()) {
      Complain("no temporary folder for standard input could be made in " + TemporaryFolder());
      return "";
    }
    const std::string path = JoinPath(folder_, "stdin.txt");
    FileError error;
    std::unique_ptr<ScratchFile> file = ScratchFile::At(path, &error);
    // On the heap: a frame this large would push every later call onto fresh stack pages.
    constexpr size_t kBufferBytes = 1 << 16;
    const std::unique_ptr<char[]> buffer(new char[kBufferBytes]);
    bool ok = file != nullptr;
    while (ok) {
      const ssize_t n = ::read(STDIN_FILENO, buffer.get(), kBufferBytes);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) error = FileErrorFromErrno(errno);
      if (n <= 0) {
        ok = n == 0;
        break;
      }
      ok = file->writer().Write(buffer.get(), static_cast<size_t>(n), &error);
    }
    if (!ok || !file->Close(&error, false)) {
      Complain("standard input could not be copied to " + folder_ + ": " + error.description);
      return "";
    }
    file->Keep();  // the folder goes as a whole
    return path;
  }

 private:
  std::string folder_;
};

// A --stop-words value must name a list: a language code, "none" or a file.
bool StopWordsNamed(const CliOptions& options) {
  if (!options.stopWords.given) return true;
  const std::string& which = options.stopWords.value;
  for (const char* code : {"en", "de", "es", "pt", "it", "fr", "en_de", "all", "none"}) {
    if (which == code) return true;
  }
  if (Files().FileExists(AbsolutePath(which))) return true;
  Complain("--stop-words: '" + which +
           "' is neither a stop-word file nor one of en, de, es, pt, it, fr, en_de, "
           "all, none");
  return false;
}

int UsageError(const std::string& error) {
  std::fprintf(stderr, "quillmoor-cli: %s\nTry 'quillmoor-cli --help' for more information.\n",
               error.c_str());
  return kExitUsage;
}

}  // namespace

// The run proper, once the input is known: start-up, the input named, the settings
// file and the options applied, the command.
int RunProgram(Program& p, CliHost& host, const CliOptions& options, const std::string& input,
               const std::string& dataFolder) {
  if (!StartUp(p, dataFolder)) return kExitRefused;
  CliHost::CatchInterrupts();
  host.set_on_interrupt([&p, &host] { PressStopFromTerminal(p, host); });
  // A write error concerns the output file, not the input.
  host.set_title_subject("File output error", [&p] {
    return p.frmMain.optSearch.value ? p.frmMain.txbFile[1].text : p.strConcordanceFile;
  });
  if (!NameInput(p, input, options.command != "read", options.command != "wordlist"))
    return kExitRefused;
  if (options.settings.given) {
    Concerning settings(host, options.settings.value, AbsolutePath(options.settings.value));
    if (!LoadSettings(p, options.settings.value)) return kExitRefused;
  }
  if (!ApplyOptions(p, host, options)) return kExitRefused;
  // The command decides the mode, whatever a settings file or a loaded index chose.
  if (options.command != "search" && p.frmMain.optSearch.value) optCreate_Click(p);
  int status = kExitDone;
  if (options.command == "read") {
    status = RunRead(p);
  } else if (options.command == "wordlist") {
    status = RunWordList(p, options);
  } else if (options.command == "search") {
    status = RunSearch(p, host, options);
  } else if (options.command == "kwic") {
    status = RunKwic(p, host, options);
  } else if (IsAnalysisCommand(options.command)) {
    status = RunAnalysis(p, host, options);
  } else {
    status = RunCreate(p, options);
  }
  if (options.saveSettings.given) {
    const std::string result = SaveState(p, AbsolutePath(options.saveSettings.value));
    if (!result.empty()) {
      Complain(options.saveSettings.value + ": " + result);
      return kExitRefused;
    }
  }
  return status;
}

int RunCli(const std::vector<std::string>& args, const std::string& dataFolder) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, &options, &error)) return UsageError(error);
  if (options.help || options.version) {
    Write(stdout, options.help ? CliUsage() : CliVersion());
    return Flushed();
  }
  if (options.file == "-" && options.index.given && options.index.value) {
    return UsageError("--index needs a named input file, not standard input");
  }
  if (!StopWordsNamed(options)) return kExitUsage;
  g_quiet = options.quiet;
  InstallScratchCleanup("quillmoor-cli", false);
  // A command is one run: each small file it reads is opened once.
  ScopedFileKeeping keepSmallFiles;
  StandardInputCopy standardInput;
  const std::string input = options.file == "-" ? standardInput.Make() : AbsolutePath(options.file);
  if (input.empty()) return kExitRefused;
  if (options.file != "-" && !CheckNamedInput(options, input)) return kExitRefused;
  if (!OutputIsNotInput(options.output.value, input) ||
      !OutputIsNotInput(options.saveSettings.value, input) ||
      !OutputIsNotInput(options.svg.value, input) || !OutputIsNotInput(options.png.value, input)) {
    return kExitUsage;
  }
  CliHost host;
  g_host = &host;
  host.set_policy(options.policy);
  host.set_quiet(options.quiet);
  host.set_progress(!options.quiet && ::isatty(STDERR_FILENO) == 1);
  host.set_subject(options.file == "-" ? "standard input" : options.file, input);
  // Questions that concern only the window: the concordance is written, and the
  // keywords of a keywords file are not listed.
  host.set_silent_answer("Create concordance file?", MsgResult::kYes);
  host.set_silent_answer("Keywords to search for", MsgResult::kNo);
  // Without --yes or --no an existing file is kept.
  host.set_default_answer("File exists", MsgResult::kNo);
  Program p(host);
  // A stop-word list named on the command line is the only one loaded or proposed.
  p.blnStopWordsGivenByCaller = options.stopWords.given;
  const int status = RunProgram(p, host, options, input, dataFolder);
  host.EndProgressLine();
  g_host = nullptr;
  return status;
}

}  // namespace quillmoor
