// The command line: `quillmoor-cli COMMAND [OPTIONS] FILE`.
//
// Commands:
//   read FILE   reads FILE as a run reads its input and writes the document text,
//               in UTF-8, to standard output.
// Options (shared by the commands):
//   --yes / --no   answer every question Yes / No (default: each box's default button)
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

struct CliOptions {
  std::string command;
  std::string file;  // as given (native, UTF-8)
  AnswerPolicy policy = AnswerPolicy::kDefault;
};

// Parses the arguments after the program name. Returns false with *error set on a
// usage error.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error);

// The usage text.
std::string CliUsage();

// Runs the command line; returns the exit status. `argv0` locates the data files.
int RunCli(const std::vector<std::string>& args, const char* argv0);

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_CLI_H_
