#include "cli/Terminal.h"

#include <cerrno>

#include "cli/Cli.h"
#include "shared/FileSystem.h"

namespace quillmoor {

void Terminal::Write(std::FILE* out, std::string_view text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() && out == stdout &&
      stdoutErrno_ == 0) {
    stdoutErrno_ = errno;
  }
}

void Terminal::Complain(const std::string& text) {
  if (host_ != nullptr) host_->EndProgressLine();
  Write(stderr, "quillmoor-cli: " + text + "\n");
}

void Terminal::Say(const std::string& text) {
  if (quiet_) return;
  if (host_ != nullptr) host_->EndProgressLine();
  Write(stderr, text + "\n");
}

int Terminal::Flushed() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return kExitDone;
  Complain("standard output: " +
           FileErrorFromErrno(stdoutErrno_ != 0 ? stdoutErrno_ : errno).description);
  return kExitRefused;
}

}  // namespace quillmoor
