// The desktop program's command line: `quillmoor [FILE]`, `--help`, `--version`.
//
// FILE is put in the input box and checked as a typed name is. The toolkit's own
// arguments are removed before these are read; the developer options that take the
// window through a scripted session (--screenshot ...) are left to the program.
#ifndef QUILLMOOR_UI_DESKTOPARGUMENTS_H_
#define QUILLMOOR_UI_DESKTOPARGUMENTS_H_

#include <string>
#include <vector>

namespace quillmoor {

struct Program;

struct DesktopArguments {
  bool help = false;
  bool version = false;
  bool scripted = false;  // a developer option: the program's session is scripted
  std::string file;       // as given; "" for none
  std::string error;      // a usage error, one line; "" when none
};

// Reads the arguments after the program's name.
DesktopArguments ParseDesktopArguments(const std::vector<std::string>& args);
// The text of --help and of --version.
std::string DesktopUsage();
std::string DesktopVersion();

// Puts `given` (made absolute) in the input box and checks it as leaving the box does.
// False when the file was refused (its message was shown).
bool OpenFileFromCommandLine(Program& p, const std::string& given);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_DESKTOPARGUMENTS_H_
