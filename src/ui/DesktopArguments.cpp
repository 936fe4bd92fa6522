#include "ui/DesktopArguments.h"

#include "shared/FileSystem.h"
#include "ui/Concordance.h"
#include "ui/InputFile.h"
#include "ui/Program.h"

namespace quillmoor {

DesktopArguments ParseDesktopArguments(const std::vector<std::string>& args) {
  static const char* const kScripted[] = {
      "--screenshot",  "--screenshot-help",     "--screenshot-settings", "--measure-stop",
      "--quit-during", "--screenshot-explorer", "--measure-explorer"};
  DesktopArguments out;
  bool optionsEnded = false;
  for (const std::string& a : args) {
    if (!optionsEnded && a.size() > 1 && a[0] == '-') {
      if (a == "--") {
        optionsEnded = true;
      } else if (a == "-h" || a == "--help") {
        out.help = true;
      } else if (a == "-V" || a == "--version") {
        out.version = true;
      } else {
        for (const char* option : kScripted) {
          if (a == option) out.scripted = true;
        }
        if (out.scripted) return out;
        out.error = "unknown option '" + a + "'";
        return out;
      }
    } else if (out.file.empty()) {
      out.file = a;
    } else {
      out.error = "more than one file given";
      return out;
    }
  }
  return out;
}

std::string DesktopUsage() {
  return "usage: quillmoor [FILE]\n"
         "Opens the concordance window, with FILE in its input box when given.\n"
         "\n"
         "  -h, --help     print this help and exit\n"
         "  -V, --version  print the version and exit\n"
         "\n"
         "For concordances without a window, see quillmoor-cli --help.\n";
}

std::string DesktopVersion() {
  return std::string("quillmoor (Quillmoor) ") + ProgramVersion() + "\n" + LicenceNotice();
}

bool OpenFileFromCommandLine(Program& p, const std::string& given) {
  p.frmMain.txbFile[0].text = AbsolutePath(given);
  return InputFileLostFocus(p, 0);
}

}  // namespace quillmoor
