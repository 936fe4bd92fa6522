#include "cli/Cli.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

#include "engine/RunDriver.h"
#include "input/InputDocument.h"
#include "input/InputFile.h"
#include "input/Markup.h"
#include "input/TextFile.h"
#include "settings/Defaults.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"

namespace quillmoor {
namespace {

void WriteUtf8(std::FILE* out, const std::string& cp1252Text) {
  std::string utf8 = Cp1252ToUtf8(cp1252Text);
  std::fwrite(utf8.data(), 1, utf8.size(), out);
}

// The input path as the input box holds it: absolute, in Windows-1252.
bool InputBoxText(const std::string& nativePath, std::string* boxText, std::string* error) {
  std::string absolute = nativePath;
  if (!absolute.empty() && absolute[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) != nullptr) absolute = JoinPath(cwd, absolute);
  }
  absolute = std::filesystem::path(absolute).lexically_normal().string();
  if (!Utf8ToCp1252(absolute, boxText)) {
    *error = "The file name " + nativePath +
             " holds characters that Windows-1252 cannot represent; rename the file.";
    return false;
  }
  return true;
}

// Start-up as far as the command line needs it: program texts, lists, defaults.
bool StartUp(Program& p, const char* argv0) {
  UseSystemNumberLocale();
  if (!p.texts.LoadProgramText(p.host, ProgramFolder(argv0))) return false;
  FillLists(p);
  InitializeVariables(p);
  p.blnStartUpCompleted = true;
  return true;
}

// Names the input the way typing it into the input box does. False when refused.
bool NameInput(Program& p, const std::string& boxText) {
  p.frmMain.txbFile[0].text = boxText;
  p.frmMain.chkUTF8[0].value = 0;
  return InputFileLostFocus(p, 0);
}

// Sets the controls the options name, after the input was chosen.
void ApplyOptions(Program& p, const CliOptions& o) {
  if (o.wordOrder.given) p.frmMain.cboWordOrder.listIndex = o.wordOrder.value;
  if (o.hyphens.given) p.frmParams.chkAllowWordsWithHyphens.value = o.hyphens.value ? 1 : 0;
  if (o.numerals.given) p.frmParams.chkAllowWordsWithNumerals.value = o.numerals.value ? 1 : 0;
  if (o.minFrequency.given) {
    p.frmParams.chkIgnoreInfrequentWords.value = 1;
    p.frmParams.cboThresholdFrequency.listIndex = o.minFrequency.value - 2;
  }
}

int RunRead(Program& p) {
  if (!CheckInputFile(p, p.frmMain.txbFile[0].text)) return kExitRefused;
  bool utf8 = false, ok = false;
  ReadInputDocument(p, utf8, ok);
  p.blnReadingFile = false;
  EnableControls(p, true);
  if (!ok) return kExitRefused;
  SelectMarkupHandling(p, GetFileExtension(p.frmMain.txbFile[0].text, true));
  if (p.blnCharacterEntitiesPossible) p.strLine = DecodeCharacterEntities(p.strLine);
  WriteUtf8(stdout, p.strLine);
  std::fputc('\n', stdout);
  return std::fflush(stdout) == 0 ? kExitDone : kExitRefused;
}

// The words listed, in the chosen order, as "word<TAB>frequency" lines.
std::string WordListText(const Program& p) {
  std::string out;
  auto line = [&out](const WordRecord& r) {
    out += r.strWord;
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

}  // namespace

int RunWordList(Program& p) {
  p.blnStopAfterCounts = true;
  cmdListWords_Click(p);
  if (!p.blnWordsGot) return kExitRefused;  // refused, or stopped
  const MainControls& m = p.frmMain;
  std::string counts = m.lblNumberOfWords.caption + "\n";
  if (!m.lblNumOccurrences.caption.empty()) counts += m.lblNumOccurrences.caption + "\n";
  std::string utf8 = Cp1252ToUtf8(counts);
  std::fputs(utf8.c_str(), stderr);
  WriteUtf8(stdout, WordListText(p));
  return std::fflush(stdout) == 0 ? kExitDone : kExitRefused;
}

void PressStopFromTerminal(Program& p, CliHost& host) {
  if (!p.frmMain.cmdListWords.enabled) return;
  host.AnswerNextQuestion(MsgResult::kYes);
  cmdListWords_Click(p);
}

std::string CliUsage() {
  return "usage: quillmoor-cli COMMAND [OPTIONS] FILE\n"
         "\n"
         "commands:\n"
         "  read FILE        read FILE as a run reads its input; print the document text\n"
         "  wordlist FILE    list the words of FILE with their frequencies\n"
         "\n"
         "options:\n"
         "  --yes                 answer every question Yes\n"
         "  --no                  answer every question No\n"
         "                        (without either, each question gets its default button)\n"
         "  --order alpha|freq    word order (default alpha)\n"
         "  --hyphens             allow words with hyphens (default)\n"
         "  --no-hyphens          leave out words with hyphens\n"
         "  --numerals            allow words with numerals\n"
         "  --no-numerals         leave out words with numerals (default)\n"
         "  --min-frequency N     leave out words occurring fewer than N times (2 to 20)\n"
         "\n"
         "exit status: 0 done, 1 input refused or run stopped, 2 usage error\n";
}

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error) {
  *options = CliOptions{};
  std::vector<std::string> positional;
  bool policyGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--yes" || a == "--no") {
      AnswerPolicy policy = a == "--yes" ? AnswerPolicy::kYes : AnswerPolicy::kNo;
      if (policyGiven && policy != options->policy) {
        *error = "--yes and --no cannot be given together";
        return false;
      }
      policyGiven = true;
      options->policy = policy;
    } else if (a == "--hyphens" || a == "--no-hyphens") {
      options->hyphens.Set(a == "--hyphens");
    } else if (a == "--numerals" || a == "--no-numerals") {
      options->numerals.Set(a == "--numerals");
    } else if (a == "--order" || a == "--min-frequency") {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      const std::string& v = args[++i];
      if (a == "--order") {
        if (v != "alpha" && v != "freq") {
          *error = "--order takes alpha or freq, not '" + v + "'";
          return false;
        }
        options->wordOrder.Set(v == "alpha" ? 0 : 1);
      } else {
        int n = 0;
        bool digits = !v.empty() && v.size() <= 2 && v.find_first_not_of("0123456789") == std::string::npos;
        if (digits) n = std::stoi(v);
        if (!digits || n < 2 || n > 20) {
          *error = "--min-frequency takes a whole number from 2 to 20, not '" + v + "'";
          return false;
        }
        options->minFrequency.Set(n);
      }
    } else if (a == "--") {
      positional.insert(positional.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      return false;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.empty()) {
    *error = "no command given";
    return false;
  }
  options->command = positional[0];
  if (options->command != "read" && options->command != "wordlist") {
    *error = "unknown command " + options->command;
    return false;
  }
  if (positional.size() != 2) {
    *error = positional.size() < 2 ? "no input file given" : "more than one input file given";
    return false;
  }
  options->file = positional[1];
  if (options->file.empty()) {
    *error = "the input file name is empty";
    return false;
  }
  return true;
}

int RunCli(const std::vector<std::string>& args, const char* argv0) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    std::fputs(CliUsage().c_str(), stdout);
    return kExitDone;
  }
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, &options, &error)) {
    std::fprintf(stderr, "quillmoor-cli: %s\n\n%s", error.c_str(), CliUsage().c_str());
    return kExitUsage;
  }
  std::string boxText;
  if (!InputBoxText(options.file, &boxText, &error)) {
    std::fprintf(stderr, "quillmoor-cli: %s\n", error.c_str());
    return kExitRefused;
  }
  CliHost host;
  host.set_policy(options.policy);
  Program p(host);
  if (!StartUp(p, argv0)) return kExitRefused;
  CliHost::CatchInterrupts();
  host.set_on_interrupt([&p, &host] { PressStopFromTerminal(p, host); });
  if (!NameInput(p, boxText)) return kExitRefused;
  ApplyOptions(p, options);
  return options.command == "read" ? RunRead(p) : RunWordList(p);
}

}  // namespace quillmoor
