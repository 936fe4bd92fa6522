#include "shared/ScratchFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <random>

namespace quillmoor {
namespace {

// The registry: a fixed table a signal handler can walk. A slot is claimed (kFilling),
// its path copied, and only then marked as a file or a folder.
enum SlotState : int { kFree = 0, kFilling = 1, kFile = 2, kFolder = 3 };
// The states lie apart from the paths and all start as zero bytes, so that a walk
// over the states touches one page and starting the program touches none.
constexpr int kSlots = 64;
constinit std::atomic<int> g_states[kSlots] = {};
constinit char g_paths[kSlots][PATH_MAX] = {};
const char* g_program = "quillmoor";
std::atomic<int> g_openWriters{0};

size_t Length(const char* s) {
  size_t n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

void Say(const char* text) {
  const ssize_t ignored = ::write(STDERR_FILENO, text, Length(text));
  (void)ignored;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Removes `name` (relative to the folder `parent`) with everything in it, using only
// system calls. Links are removed, never followed. 0, or the errno of the first thing
// that could not be removed; nothing there is no error.
int RemoveTreeAt(int parent, const char* name, int depth) {
  if (::unlinkat(parent, name, 0) == 0) return 0;
  const int unlinkError = errno;
  if (unlinkError == ENOENT) return 0;
  if (depth > 16) return unlinkError;
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno == ENOTDIR || errno == ELOOP ? unlinkError : errno;
  struct Entry {  // the kernel's linux_dirent64
    uint64_t ino;
    int64_t off;
    unsigned short reclen;
    unsigned char type;
    char name[1];
  };
  alignas(8) char buffer[4096];
  int first = 0;
  while (true) {
    const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
    if (n < 0 && first == 0) first = errno;
    if (n <= 0) break;
    for (long at = 0; at < n;) {
      const Entry* entry = reinterpret_cast<const Entry*>(buffer + at);
      at += entry->reclen;
      if (IsDotOrDotDot(entry->name)) continue;
      const int error = RemoveTreeAt(fd, entry->name, depth + 1);
      if (first == 0) first = error;
    }
  }
  ::close(fd);
  if (::unlinkat(parent, name, AT_REMOVEDIR) != 0 && first == 0) first = errno;
  return first;
}

// Six letters and digits that differ from run to run and call to call.
std::string RandomSuffix() {
  static std::mt19937_64 rng{[] {
    uint64_t seed = 0;
    if (::getentropy(&seed, sizeof seed) != 0) seed = static_cast<uint64_t>(::time(nullptr));
    return seed ^ (static_cast<uint64_t>(::getpid()) << 32);
  }()};
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(6, 'a');
  for (char& c : s) c = kChars[rng() % (sizeof kChars - 1)];
  return s;
}

constexpr int kTries = 100;

// Holds back the ending signals while a path and its registration change together, so
// that a handler never removes a path that is not (or no longer) ours.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGTERM, SIGHUP, SIGXFSZ, SIGINT}) sigaddset(&set, signal);
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
  }
  ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

extern "C" void OnEndingSignal(int signal) {
  if (signal == SIGXFSZ) {
    Say(g_program);
    Say(": the file size limit was reached; the file being written was removed\n");
  }
  AbandonForSignal(signal);
}

}  // namespace

void RegisterScratchPath(const std::string& path, bool folder) {
  if (path.empty() || path.size() >= PATH_MAX) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!g_states[i].compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
    g_states[i].store(folder ? kFolder : kFile);
    return;
  }
}

void ForgetScratchPath(const std::string& path) {
  for (int i = 0; i < kSlots; ++i) {
    const int state = g_states[i].load();
    if ((state == kFile || state == kFolder) && path == g_paths[i]) {
      g_states[i].store(kFree);
      return;
    }
  }
}

int ScratchWritesUnderWay() { return g_openWriters.load(); }

void RemoveRegisteredScratch() {
  for (int pass = kFile; pass <= kFolder; ++pass) {
    for (int i = 0; i < kSlots; ++i) {
      if (g_states[i].load() != pass) continue;
      if (pass == kFile) {
        ::unlink(g_paths[i]);
      } else {
        RemoveTreeAt(AT_FDCWD, g_paths[i], 0);
      }
      g_states[i].store(kFree);
    }
  }
}

void AbandonForSignal(int signal) {
  RemoveRegisteredScratch();
  ::_exit(128 + signal);
}

void InstallScratchCleanup(const char* program, bool interrupt) {
  g_program = program;
  struct sigaction action {};
  action.sa_handler = OnEndingSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGHUP, SIGXFSZ, SIGINT}) sigaddset(&action.sa_mask, signal);
  for (int signal : {SIGTERM, SIGHUP, SIGXFSZ}) CatchUnlessIgnored(signal, action);
  if (interrupt) CatchUnlessIgnored(SIGINT, action);
}

void CatchUnlessIgnored(int signal, const struct sigaction& action) {
  struct sigaction previous {};
  if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) return;
  ::sigaction(signal, &action, nullptr);
}

ScratchFile::ScratchFile(std::string path, std::unique_ptr<FileWriter> writer)
    : path_(std::move(path)), writer_(std::move(writer)) {
  ++g_openWriters;
}

ScratchFile::~ScratchFile() {
  if (writer_ != nullptr) {
    writer_.reset();
    --g_openWriters;
  }
  if (keep_) return;
  SignalsHeld held;
  FileError ignored;
  Files().Remove(path_, &ignored);
  ForgetScratchPath(path_);
}

std::unique_ptr<ScratchFile> ScratchFile::At(const std::string& path, FileError* error) {
  SignalsHeld held;
  std::unique_ptr<FileWriter> writer = Files().CreateNew(path, error);
  if (writer == nullptr) return nullptr;
  RegisterScratchPath(path, false);
  return std::unique_ptr<ScratchFile>(new ScratchFile(path, std::move(writer)));
}

namespace {
// `stem` followed by six random letters and digits, tried until a free name is found.
std::unique_ptr<ScratchFile> WithRandomEnd(const std::string& stem, FileError* error) {
  for (int i = 0; i < kTries; ++i) {
    std::unique_ptr<ScratchFile> file = ScratchFile::At(stem + RandomSuffix(), error);
    if (file != nullptr || error->number != kErrFileAlreadyExists) return file;
  }
  return nullptr;
}
}  // namespace

std::unique_ptr<ScratchFile> ScratchFile::Beside(const std::string& target, FileError* error) {
  return WithRandomEnd(target + ".quillmoor-", error);
}

std::unique_ptr<ScratchFile> ScratchFile::Numbered(const std::string& name, FileError* error) {
  for (int64_t n = 1;; ++n) {
    std::unique_ptr<ScratchFile> file = At(name + std::to_string(n), error);
    if (file != nullptr || error->number != kErrFileAlreadyExists) return file;
  }
}

std::unique_ptr<ScratchFile> ScratchFile::Temporary(const std::string& prefix, FileError* error) {
  return WithRandomEnd(JoinPath(TemporaryFolder(), prefix), error);
}

void ScratchFile::Keep() {
  ForgetScratchPath(path_);
  keep_ = true;
}

bool ScratchFile::Close(FileError* error, bool durable) {
  if (writer_ == nullptr) return true;
  std::unique_ptr<FileWriter> writer = std::move(writer_);
  --g_openWriters;
  return writer->Close(error, durable);
}

bool ScratchFile::CommitTo(const std::string& target, FileError* error, bool durable) {
  if (!Close(error, durable)) return false;
  SignalsHeld held;
  if (!Files().Rename(path_, target, error)) return false;
  ForgetScratchPath(path_);
  keep_ = true;  // it is the target now
  return true;
}

std::string CreateScratchFolder(const std::string& prefix) {
  for (int i = 0; i < kTries; ++i) {
    const std::string path = JoinPath(TemporaryFolder(), prefix + RandomSuffix());
    if (MakeScratchFolder(path)) return path;
    if (errno != EEXIST) return "";
  }
  return "";
}

bool MakeScratchFolder(const std::string& path) {
  SignalsHeld held;
  if (::mkdir(path.c_str(), 0700) != 0) return false;
  RegisterScratchPath(path, true);
  return true;
}

int RemoveTree(const std::string& path) {
  SignalsHeld held;
  return RemoveTreeAt(AT_FDCWD, path.c_str(), 0);
}

void RemoveScratchFolder(const std::string& path) {
  if (path.empty()) return;
  SignalsHeld held;
  RemoveTreeAt(AT_FDCWD, path.c_str(), 0);
  ForgetScratchPath(path);
}

}  // namespace quillmoor
