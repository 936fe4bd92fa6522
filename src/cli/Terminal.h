// What the command line writes to the terminal: the output on standard output (and
// the first error writing it), the status lines (left out with --quiet) and the
// errors on standard error, each of which first ends the run's progress line.
#ifndef QUILLMOOR_CLI_TERMINAL_H_
#define QUILLMOOR_CLI_TERMINAL_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/CliHost.h"

namespace quillmoor {

class Terminal {
 public:
  explicit Terminal(bool quiet = false) : quiet_(quiet) {}

  // The host whose progress line a message ends first (null: none, before the run).
  void set_host(CliHost* host) { host_ = host; }

  // Writes `text` to `out`; a failed write to standard output is remembered.
  void Write(std::FILE* out, std::string_view text);
  // "quillmoor-cli: " + `text` on standard error: always.
  void Complain(const std::string& text);
  // A status line on standard error, unless quiet.
  void Say(const std::string& text);
  // Flushes standard output: kExitDone, or kExitRefused after saying why it failed
  // ("standard output: Disk full").
  int Flushed();

 private:
  bool quiet_;
  CliHost* host_ = nullptr;
  int stdoutErrno_ = 0;  // the cause of the first failed write to standard output
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_TERMINAL_H_
