// The command line: `quillmoor-cli [COMMAND] [OPTIONS] FILE` (see CliUsage()).
//
// It starts as the desktop program does, names the input as typing it into the input
// box does (so the program may propose the document's stop-word language, a question
// answered like any other), then sets the controls the options name (which therefore
// win), and presses the main button.
// Exit status: 0 done, 1 the program refused the input, the run was stopped or a
// file was not written, 2 usage error, 3 a search, kwic or analysis found no word of its keywords,
// 128 + N ended by signal N.
#ifndef QUILLMOOR_CLI_CLI_H_
#define QUILLMOOR_CLI_CLI_H_

#include <string>
#include <vector>

#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/Options.h"

namespace quillmoor {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoMatch = 3;  // search: no word matches the keywords

struct Program;

// Ctrl-C: presses the main button if it can be pressed; the person who pressed Ctrl-C
// has confirmed the stop, so the question is answered Yes.
void PressStopFromTerminal(Program& p, CliHost& host);

// Runs the command line; returns the exit status. `dataFolder` holds the data files.
int RunCli(const std::vector<std::string>& args, const std::string& dataFolder);

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_CLI_H_
