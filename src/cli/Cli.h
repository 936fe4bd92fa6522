// The command line: `quillmoor-cli COMMAND [OPTIONS] FILE`.
//
// Commands:
//   read FILE      reads FILE as a run reads its input and writes the document text,
//                  in UTF-8, to standard output.
//   wordlist FILE  runs a concordance run up to the word counts and writes the words
//                  listed, one "word<TAB>frequency" line each, to standard output.
// Options (shared by the commands; each sets a control of the windows):
//   --yes / --no              answer every question Yes / No (default: each box's
//                             default button)
//   --order alpha|freq        word order
//   --hyphens / --no-hyphens  allow words with hyphens
//   --numerals / --no-numerals  allow words with numerals
//   --min-frequency N         ignore words occurring fewer than N times (2 to 20)
// Exit status: 0 done, 1 the program refused the input, 2 usage error.
#ifndef QUILLMOOR_CLI_CLI_H_
#define QUILLMOOR_CLI_CLI_H_

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliHost.h"

namespace quillmoor {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// An option the command line leaves alone keeps the program's default.
template <typename T>
struct Setting {
  bool given = false;
  T value{};
  void Set(T v) {
    given = true;
    value = v;
  }
};

struct CliOptions {
  std::string command;
  std::string file;  // as given (native, UTF-8)
  AnswerPolicy policy = AnswerPolicy::kDefault;
  Setting<int> wordOrder;       // list index: 0 alphabetical, 1 by frequency
  Setting<bool> hyphens;
  Setting<bool> numerals;
  Setting<int> minFrequency;    // 2 to 20
};

// Parses the arguments after the program name. Returns false with *error set on a
// usage error.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error);

// The usage text.
std::string CliUsage();

struct Program;

// Ctrl-C: presses the main button if it can be pressed; the person who pressed Ctrl-C
// has confirmed the stop, so the question is answered Yes.
void PressStopFromTerminal(Program& p, CliHost& host);

// Runs `wordlist` on the input already named in p; returns the exit status.
int RunWordList(Program& p);

// Runs the command line; returns the exit status. `argv0` locates the data files.
int RunCli(const std::vector<std::string>& args, const char* argv0);

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_CLI_H_
