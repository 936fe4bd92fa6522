#include "cli/Cli.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "cli/CommandSupport.h"
#include "cli/Terminal.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/KeptFiles.h"
#include "shared/NumberFormat.h"
#include "shared/ScratchFile.h"
#include "shared/Utf8.h"
#include "ui/Concordance.h"
#include "ui/IndexFiles.h"
#include "ui/InputDocument.h"
#include "ui/InputFile.h"
#include "ui/KeywordBoxes.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/Settings.h"
#include "ui/Startup.h"
#include "ui/StopWordBoxes.h"
#include "ui/TextChoices.h"

namespace quillmoor {
namespace {

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
  if (const std::string file = MoreStopWordFile(which); !file.empty()) {
    return JoinPath(p.strProgramFolder, file);
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
  if (o.wordRules.given) params.strWordRules = o.wordRules.value;
  if (o.encoding.given) params.strEncoding = o.encoding.value;
  if (o.sortLanguage.given) params.strSortLanguage = o.sortLanguage.value;
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

// The checks of the command line's input before anything is loaded: it exists, is a
// file and is not one of the program's own output files. False after the message.
bool CheckNamedInput(Terminal& terminal, const CliOptions& options, const std::string& input) {
  if (Files().FolderExists(input)) {
    terminal.Complain(options.file + ": is a folder, not a file");
    return false;
  }
  if (!Files().FileExists(input)) {
    terminal.Complain(options.file + ": Input file does not exist.");
    return false;
  }
  if (IsIndexFileName(input)) {
    terminal.Complain(options.file + ": This is an OXN index file.");
    return false;
  }
  if (IsConcordanceFileName(input)) {
    terminal.Complain(options.file + ": This is an OXN concordance file.");
    return false;
  }
  return true;
}

// An output named on the command line must not be the input (through a link or
// another name either). False after the message.
bool OutputIsNotInput(Terminal& terminal, const std::string& given, const std::string& input) {
  if (given.empty() || given == "-" || !SameFile(AbsolutePath(given), input)) return true;
  terminal.Complain(given + ": is the input file; name another output file");
  return false;
}

}  // namespace

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
  std::string Make(Terminal& terminal) {
    folder_ = CreateScratchFolder("quillmoor-stdin-");
    if (folder_.empty()) {
      terminal.Complain("no temporary folder for standard input could be made in " +
                        TemporaryFolder());
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
      terminal.Complain("standard input could not be copied to " + folder_ + ": " +
                        error.description);
      return "";
    }
    file->Keep();  // the folder goes as a whole
    return path;
  }

 private:
  std::string folder_;
};

// A --stop-words value must name a list: a language code, "none" or a file.
bool StopWordsNamed(Terminal& terminal, const CliOptions& options) {
  if (!options.stopWords.given) return true;
  const std::string& which = options.stopWords.value;
  for (const char* code : {"en", "de", "es", "pt", "it", "fr", "en_de", "all", "none"}) {
    if (which == code) return true;
  }
  if (!MoreStopWordFile(which).empty()) return true;
  std::string more;
  for (const std::string& code : MoreStopWordCodes()) more += ", " + code;
  if (Files().FileExists(AbsolutePath(which))) return true;
  terminal.Complain("--stop-words: '" + which +
                    "' is neither a stop-word file nor one of en, de, es, pt, it, fr, en_de, "
                    "all, none" +
                    more);
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
int RunProgram(Program& p, CliHost& host, Terminal& terminal, const CliOptions& options,
               const std::string& input, const std::string& dataFolder) {
  if (!StartUp(p, dataFolder)) return kExitRefused;
  CliHost::CatchInterrupts();
  host.set_on_interrupt([&p, &host] { PressStopFromTerminal(p, host); });
  // A write error concerns the output file, not the input.
  host.set_title_subject("File output error", [&p] {
    return p.frmMain.optSearch.value ? p.frmMain.txbFile[1].text : p.strConcordanceFile;
  });
  const bool corpus = options.file.empty();  // a corpus's command, or --corpus
  if (!corpus && !NameInput(p, input, options.command != "read", options.command != "wordlist"))
    return kExitRefused;
  if (options.settings.given) {
    Concerning settings(host, options.settings.value, AbsolutePath(options.settings.value));
    if (!LoadSettings(p, options.settings.value)) return kExitRefused;
  }
  if (!ApplyOptions(p, host, options)) return kExitRefused;
  // The command decides the mode, whatever a settings file or a loaded index chose.
  if (options.command != "search" && p.frmMain.optSearch.value) optCreate_Click(p);
  CommandRun run{p, host, options, terminal};
  int status = 0;
  if (corpus && options.command == "wordlist") {
    status = RunCorpusWordList(run);
  } else if (corpus && options.command == "kwic") {
    status = RunCorpusKwic(run);
  } else if (corpus && options.command == "search") {
    status = RunCorpusSearch(run);
  } else if (corpus && options.command == "collocates") {
    status = RunCorpusCollocates(run);
  } else if (corpus && options.command == "ngrams") {
    status = RunCorpusNgrams(run);
  } else if (corpus && options.command == "dispersion") {
    status = RunCorpusDispersion(run);
  } else {
    status = FindCliCommand(options.command)->run(run);
  }
  if (options.saveSettings.given) {
    const std::string result = SaveState(p, AbsolutePath(options.saveSettings.value));
    if (!result.empty()) {
      terminal.Complain(options.saveSettings.value + ": " + result);
      return kExitRefused;
    }
  }
  return status;
}

int RunCli(const std::vector<std::string>& args, const std::string& dataFolder) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, &options, &error)) return UsageError(error);
  Terminal terminal(options.quiet);
  if (options.help || options.version) {
    terminal.Write(stdout, options.help ? CliUsage() : CliVersion());
    return terminal.Flushed();
  }
  if (options.file == "-" && options.index.given && options.index.value) {
    return UsageError("--index needs a named input file, not standard input");
  }
  if (!StopWordsNamed(terminal, options)) return kExitUsage;
  InstallScratchCleanup("quillmoor-cli", false);
  // A command is one run: each small file it reads is opened once.
  ScopedFileKeeping keepSmallFiles;
  StandardInputCopy standardInput;
  const bool corpus = options.file.empty();
  const std::string input = corpus                ? std::string()
                            : options.file == "-" ? standardInput.Make(terminal)
                                                  : AbsolutePath(options.file);
  if (input.empty() && !corpus) return kExitRefused;
  if (!corpus && options.file != "-" && !CheckNamedInput(terminal, options, input))
    return kExitRefused;
  if (!OutputIsNotInput(terminal, options.output.value, input) ||
      !OutputIsNotInput(terminal, options.saveSettings.value, input) ||
      !OutputIsNotInput(terminal, options.svg.value, input) ||
      !OutputIsNotInput(terminal, options.png.value, input)) {
    return kExitUsage;
  }
  CliHost host;
  terminal.set_host(&host);
  host.set_policy(options.policy);
  host.set_quiet(options.quiet);
  host.set_progress(!options.quiet && ::isatty(STDERR_FILENO) == 1);
  host.set_subject(options.file == "-" ? "standard input" : options.file, input);
  if (corpus) host.set_subject(options.corpus.given ? options.corpus.value : "corpus", input);
  // Questions that concern only the window: the concordance is written, and the
  // keywords of a keywords file are not listed.
  host.set_silent_answer("Create concordance file?", MsgResult::kYes);
  host.set_silent_answer("Keywords to search for", MsgResult::kNo);
  // Without --yes or --no an existing file is kept.
  host.set_default_answer("File exists", MsgResult::kNo);
  Program p(host);
  // A stop-word list named on the command line is the only one loaded or proposed.
  p.blnStopWordsGivenByCaller = options.stopWords.given;
  const int status = RunProgram(p, host, terminal, options, input, dataFolder);
  host.EndProgressLine();
  terminal.set_host(nullptr);
  return status;
}

}  // namespace quillmoor
