// Scratch files: every file the program writes is first written under a name of its
// own, made exclusively (an existing entry of any kind, a link or a folder too, counts
// as taken, and no link is followed), and only a complete file replaces its target.
// Two runs writing the same target therefore never share a scratch file, and a link
// planted under a scratch name never redirects a write.
//
// While a scratch file or folder exists its path is registered, so that a signal that
// ends the process removes it first (InstallScratchCleanup): the target keeps its
// earlier content and nothing is left behind.
#ifndef QUILLMOOR_SHARED_SCRATCHFILE_H_
#define QUILLMOOR_SHARED_SCRATCHFILE_H_

#include <signal.h>

#include <memory>
#include <string>

#include "shared/FileSystem.h"

namespace quillmoor {

// A new, empty, registered file, open for writing. Removed when the object ends,
// unless CommitTo renamed it over its target.
class ScratchFile {
 public:
  // Beside `target`, in its folder: target + ".quillmoor-" + six letters and digits.
  static std::unique_ptr<ScratchFile> Beside(const std::string& target, FileError* error);
  // `name` followed by the smallest number 1, 2, 3 ... under which nothing exists.
  static std::unique_ptr<ScratchFile> Numbered(const std::string& name, FileError* error);
  // Exactly `path`; fails when anything exists there.
  static std::unique_ptr<ScratchFile> At(const std::string& path, FileError* error);
  // In the temporary folder: prefix + six letters and digits.
  static std::unique_ptr<ScratchFile> Temporary(const std::string& prefix, FileError* error);

  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }
  // The open file (valid until Close).
  FileWriter& writer() { return *writer_; }
  // Closes the file; with `durable` its bytes first reach the disk.
  bool Close(FileError* error, bool durable);
  // Closes the file when still open and renames it over `target` (a link named
  // `target` is replaced, not followed). On failure the scratch file is removed.
  bool CommitTo(const std::string& target, FileError* error, bool durable = false);
  // Keeps the file under its name after this object ends: it is no longer scratch.
  void Keep();

 private:
  ScratchFile(std::string path, std::unique_ptr<FileWriter> writer);
  std::string path_;
  std::unique_ptr<FileWriter> writer_;
  bool keep_ = false;
};

// Creates a folder of its own in the temporary folder (prefix + six letters and
// digits) and registers it with everything that will be in it. "" when none could be
// made.
std::string CreateScratchFolder(const std::string& prefix);
// Makes the folder `path` (which must not exist) and registers it as CreateScratchFolder
// does. False when it cannot be made (errno says why).
bool MakeScratchFolder(const std::string& path);
// Removes such a folder with everything in it and forgets it.
void RemoveScratchFolder(const std::string& path);
// Removes `path` with everything in it (links are removed, never followed): 0, or the
// errno of the first thing that could not be removed. Nothing there is no error.
int RemoveTree(const std::string& path);

// Registers a file, or a folder with everything in it, for removal by a signal.
// Paths are kept in a fixed table; one beyond its room is simply not registered.
void RegisterScratchPath(const std::string& path, bool folder);
// Forgets a registered path (once it is gone, renamed or no longer scratch).
void ForgetScratchPath(const std::string& path);
// The number of scratch files open for writing: writes under way. Async-signal-safe.
int ScratchWritesUnderWay();

// Removes every registered path: files first, then folders with their content.
// Async-signal-safe.
void RemoveRegisteredScratch();
// Removes every registered path and ends the process with 128 + `signal`.
// Async-signal-safe.
[[noreturn]] void AbandonForSignal(int signal);

// Handles SIGTERM, SIGHUP and SIGXFSZ (and SIGINT when `interrupt`) by
// AbandonForSignal; SIGXFSZ first says on standard error that the file size limit
// was reached. `program` names the process in that message. A signal the process
// was started with ignored stays ignored (nohup, background jobs): an ignored SIGXFSZ
// makes a write past the limit fail with "File too large" instead.
void InstallScratchCleanup(const char* program, bool interrupt);
// Installs `action` for `signal` unless the signal is ignored.
void CatchUnlessIgnored(int signal, const struct sigaction& action);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_SCRATCHFILE_H_
