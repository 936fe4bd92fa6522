#include "shared/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "shared/KeptFiles.h"
#include "shared/ScratchFile.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

FileError ErrorFromErrno(int err) { return FileErrorFromErrno(err); }

class PosixReader : public FileReader {
 public:
  PosixReader(int fd, long long length) : fd_(fd), length_(length) {}
  ~PosixReader() override { ::close(fd_); }
  long long Length() const override { return length_; }
  long long Read(char* buffer, size_t size, FileError* error) override {
    while (true) {
      ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return n;
      if (errno == EINTR) continue;
      *error = ErrorFromErrno(errno);
      return -1;
    }
  }

 private:
  int fd_;
  long long length_;
};

// A kept small file (shared/KeptFiles.h).
class MemoryReader : public FileReader {
 public:
  explicit MemoryReader(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
  long long Length() const override { return static_cast<long long>(bytes_->size()); }
  long long Read(char* buffer, size_t size, FileError*) override {
    const size_t n = std::min(size, bytes_->size() - at_);
    std::memcpy(buffer, bytes_->data() + at_, n);
    at_ += n;
    return static_cast<long long>(n);
  }
  bool InMemory(std::string_view* bytes) const override {
    *bytes = *bytes_;
    return true;
  }

 private:
  std::shared_ptr<const std::string> bytes_;
  size_t at_ = 0;
};

// The whole of the open file `fd`, which a stat found `size` bytes long; nullptr when
// reading fails or finds another length (the file is being written: it is not kept).
std::shared_ptr<const std::string> ReadWhole(int fd, size_t size) {
  auto bytes = std::make_shared<std::string>();
  bytes->resize(size + 1);  // one byte more to see the end in the same read
  size_t got = 0;
  while (got <= size) {
    const ssize_t n = ::read(fd, bytes->data() + got, size + 1 - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return nullptr;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  if (got != size) return nullptr;
  bytes->resize(size);
  return bytes;
}

class PosixWriter : public FileWriter {
 public:
  explicit PosixWriter(int fd) : fd_(fd) {}
  ~PosixWriter() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Write(const char* data, size_t size, FileError* error) override {
    while (size > 0) {
      ssize_t n = ::write(fd_, data, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        *error = ErrorFromErrno(errno);
        return false;
      }
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }
  bool Close(FileError* error, bool sync) override {
    int fd = fd_;
    fd_ = -1;
    if (sync && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
      *error = ErrorFromErrno(errno);
      ::close(fd);
      return false;
    }
    if (::close(fd) != 0) {
      *error = ErrorFromErrno(errno);
      return false;
    }
    return true;
  }

 private:
  int fd_;
};

// The kept bytes of `path` in a run that keeps small files, or nullptr.
std::shared_ptr<const std::string> KeptBytes(const std::string& path) {
  KeptFiles* kept = ActiveKeptFiles();
  return kept != nullptr ? kept->Find(path) : nullptr;
}

void ForgetKept(const std::string& path) {
  if (KeptFiles* kept = ActiveKeptFiles()) kept->Forget(path);
}

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    if (KeptBytes(path)) return true;
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }
  bool FolderExists(const std::string& path) override {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  long long FileLength(const std::string& path, FileError* error) override {
    if (std::shared_ptr<const std::string> bytes = KeptBytes(path))
      return static_cast<long long>(bytes->size());
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      *error = ErrorFromErrno(errno);
      return -1;
    }
    return static_cast<long long>(st.st_size);
  }
  std::unique_ptr<FileReader> OpenRead(const std::string& path, FileError* error) override {
    KeptFiles* kept = ActiveKeptFiles();
    if (kept != nullptr) {
      if (std::shared_ptr<const std::string> bytes = kept->Find(path)) {
        return std::make_unique<MemoryReader>(std::move(bytes));
      }
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      *error = ErrorFromErrno(errno);
      return nullptr;
    }
    struct stat st;
    const bool known = ::fstat(fd, &st) == 0;
    if (known && S_ISDIR(st.st_mode)) {
      ::close(fd);
      *error = ErrorFromErrno(EISDIR);
      return nullptr;
    }
    if (kept != nullptr && known && S_ISREG(st.st_mode) && st.st_size <= kKeptFileBytes) {
      if (std::shared_ptr<const std::string> bytes =
              ReadWhole(fd, static_cast<size_t>(st.st_size))) {
        ::close(fd);
        kept->Keep(path, bytes);
        return std::make_unique<MemoryReader>(std::move(bytes));
      }
      // Read as any other file: the reads meet the error again and report it.
      ::lseek(fd, 0, SEEK_SET);
    }
    return std::make_unique<PosixReader>(
        fd, known && S_ISREG(st.st_mode) ? static_cast<long long>(st.st_size) : -1);
  }
  std::unique_ptr<FileWriter> CreateNew(const std::string& path, FileError* error) override {
    ForgetKept(path);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      *error =
          errno == ENOENT ? FileError{kErrPathNotFound, "Path not found"} : ErrorFromErrno(errno);
      return nullptr;
    }
    return std::make_unique<PosixWriter>(fd);
  }
  bool Rename(const std::string& from, const std::string& to, FileError* error) override {
    ForgetKept(from);
    ForgetKept(to);
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    *error = ErrorFromErrno(errno);
    return false;
  }
  bool Remove(const std::string& path, FileError* error) override {
    ForgetKept(path);
    if (::unlink(path.c_str()) == 0) return true;
    *error = ErrorFromErrno(errno);
    return false;
  }
  std::vector<std::string> List(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      names.push_back(std::move(name));
    }
    ::closedir(dir);
    return names;
  }
};

FileSystem* g_current = nullptr;

}  // namespace

FileError FileErrorFromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return {kErrFileNotFound, "File not found"};
    case EEXIST:
      return {kErrFileAlreadyExists, "File already exists"};
    case EACCES:
    case EPERM:
      return {kErrPermissionDenied, "Permission denied"};
    case EROFS:
      return {kErrPathAccess, "Read-only file system"};
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ENOTEMPTY:
      return {kErrPathAccess, "Path/File access error"};
    case ENOSPC:
    case EDQUOT:
      return {kErrDiskFull, "Disk full"};
    case EFBIG:
      return {kErrDeviceIO, "File too large"};
    case 0:
      return {kErrDeviceIO, "Device I/O error"};
    default:
      return {kErrDeviceIO, std::strerror(err)};
  }
}

bool PathTaken(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return !a.empty() && !b.empty() && ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

FileSystem& RealFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

FileSystem& Files() { return g_current ? *g_current : RealFileSystem(); }

ScopedFileSystem::ScopedFileSystem(FileSystem* fs) : previous_(g_current) { g_current = fs; }
ScopedFileSystem::~ScopedFileSystem() { g_current = previous_; }

bool FileExists(const std::string& path) { return !path.empty() && Files().FileExists(path); }

bool ReadFilePrefix(const std::string& path, long long maxBytes, std::string* out,
                    FileError* error) {
  out->clear();
  std::unique_ptr<FileReader> reader = Files().OpenRead(path, error);
  return reader != nullptr && ReadFrom(*reader, maxBytes, out, error);
}

bool ReadFrom(FileReader& reader, long long maxBytes, std::string* out, FileError* error) {
  out->clear();
  std::string_view whole;
  if (reader.InMemory(&whole)) {
    out->assign(maxBytes < 0 ? whole : whole.substr(0, static_cast<size_t>(maxBytes)));
    return true;
  }
  // On the heap and no larger than needed: a large stack frame would push every later
  // call onto fresh stack pages.
  size_t chunk = 65536;
  if (maxBytes >= 0)
    chunk = static_cast<size_t>(std::clamp<long long>(maxBytes, 1, static_cast<long long>(chunk)));
  if (reader.Length() >= 0) chunk = std::min(chunk, static_cast<size_t>(reader.Length()) + 1);
  const std::unique_ptr<char[]> buffer(new char[chunk]);
  while (maxBytes < 0 || static_cast<long long>(out->size()) < maxBytes) {
    size_t want = chunk;
    if (maxBytes >= 0) {
      want = static_cast<size_t>(std::min<long long>(
          static_cast<long long>(want), maxBytes - static_cast<long long>(out->size())));
    }
    long long n = reader.Read(buffer.get(), want, error);
    if (n < 0) return false;
    if (n == 0) break;
    out->append(buffer.get(), static_cast<size_t>(n));
  }
  return true;
}

bool IsDeviceOrPipe(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

bool WriteFileAtomically(const std::string& path,
                         const std::function<bool(FileWriter& writer, FileError* error)>& produce,
                         FileError* error, bool durable) {
  if (IsDeviceOrPipe(path)) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
      *error = ErrorFromErrno(errno);
      return false;
    }
    PosixWriter writer(fd);
    return produce(writer, error) && writer.Close(error, false);
  }
  std::unique_ptr<ScratchFile> scratch = ScratchFile::Beside(path, error);
  return scratch != nullptr && produce(scratch->writer(), error) &&
         scratch->CommitTo(path, error, durable);
}

bool WritePiecesAtomically(const std::string& path,
                           const std::function<void(const PieceWriter& write)>& produce,
                           FileError* error, bool durable) {
  return WriteFileAtomically(
      path,
      [&](FileWriter& writer, FileError* e) {
        bool ok = true;
        produce([&](std::string_view piece) {
          ok = ok && writer.Write(piece.data(), piece.size(), e);
        });
        return ok;
      },
      error, durable);
}

bool WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                         FileError* error, bool durable) {
  return WriteFileAtomically(
      path,
      [&pieces](FileWriter& writer, FileError* e) {
        for (std::string_view piece : pieces) {
          if (!writer.Write(piece.data(), piece.size(), e)) return false;
        }
        return true;
      },
      error, durable);
}

namespace {

// The folders remembered for ResolveLowerCasedPath.
struct RealFolder {
  std::string lower;  // as the program's lower-casing makes it
  std::string real;
};
std::mutex g_realFoldersMutex;
std::vector<RealFolder> g_realFolders;  // the most recent last

// The file `path` names when the names after position `start` are matched without
// regard to case, folder by folder, from the folder `resolved` (as the system spells
// it); "" when there is none.
std::string MatchFrom(const std::string& path, std::string resolved, size_t start) {
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    std::string part =
        path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    start = slash == std::string::npos ? path.size() + 1 : slash + 1;
    if (part.empty()) continue;
    std::string candidate = JoinPath(resolved, part);
    if (!Files().FileExists(candidate) && !Files().FolderExists(candidate)) {
      bool matched = false;
      for (const std::string& name : Files().List(resolved.empty() ? "." : resolved)) {
        if (Utf8Lower(name) == Utf8Lower(part)) {
          candidate = JoinPath(resolved, name);
          matched = true;
          break;
        }
      }
      if (!matched) return "";
    }
    resolved = candidate;
  }
  return Files().FileExists(resolved) ? resolved : "";
}

}  // namespace

void RememberRealFolder(const std::string& folder) {
  if (folder.empty() || folder == "/") return;
  RealFolder entry{Utf8Lower(folder), folder};
  while (entry.real.size() > 1 && entry.real.back() == '/') {
    entry.real.pop_back();
    entry.lower.pop_back();
  }
  std::lock_guard<std::mutex> lock(g_realFoldersMutex);
  std::erase_if(g_realFolders, [&](const RealFolder& f) { return f.real == entry.real; });
  if (g_realFolders.size() >= 8) g_realFolders.erase(g_realFolders.begin());
  g_realFolders.push_back(std::move(entry));
}

std::string ResolveLowerCasedPath(const std::string& path) {
  if (path.empty() || Files().FileExists(path)) return path;
  // From the remembered folders at the start of the path (the longest first), then
  // from the root.
  std::vector<RealFolder> starts;
  {
    std::lock_guard<std::mutex> lock(g_realFoldersMutex);
    for (const RealFolder& f : g_realFolders) {
      if (path.size() > f.lower.size() && path[f.lower.size()] == '/' &&
          path.starts_with(f.lower)) {
        starts.push_back(f);
      }
    }
  }
  std::sort(starts.begin(), starts.end(), [](const RealFolder& a, const RealFolder& b) {
    return a.lower.size() > b.lower.size();
  });
  for (const RealFolder& f : starts) {
    std::string found = MatchFrom(path, f.real, f.lower.size() + 1);
    if (!found.empty()) return found;
  }
  std::string found = MatchFrom(path, path[0] == '/' ? "/" : "", path[0] == '/' ? 1 : 0);
  if (found.empty()) return path;
  RememberRealFolder(FolderOf(found));
  return found;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string TemporaryFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string folder = tmpdir != nullptr ? tmpdir : "";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return !folder.empty() && Files().FolderExists(folder) ? folder : "/tmp";
}

std::string LexicallyNormal(std::string_view path) {
  if (path.empty()) return "";
  const bool absolute = path[0] == '/';
  std::vector<std::string_view> names;
  bool trailingSlash = false;  // the last name was followed by "/", or removed
  size_t at = 0;
  while (at < path.size()) {
    const size_t slash = std::min(path.find('/', at), path.size());
    const std::string_view name = path.substr(at, slash - at);
    at = slash + 1;
    if (name.empty()) continue;  // "//", or the root's "/"
    trailingSlash = slash < path.size();
    if (name == ".") {
      trailingSlash = true;
    } else if (name == "..") {
      if (!names.empty() && names.back() != "..") {
        names.pop_back();
        trailingSlash = true;
      } else if (!absolute) {
        names.push_back(name);  // above a relative path's start
      }
    } else {
      names.push_back(name);
    }
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += '/';
    out += names[i];
  }
  if (names.empty()) return absolute ? "/" : ".";
  if (trailingSlash && names.back() != "..") out += '/';
  return out;
}

std::string AbsolutePath(const std::string& given) {
  std::string absolute = given;
  if (!absolute.empty() && absolute[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) != nullptr) absolute = JoinPath(cwd, absolute);
  }
  return LexicallyNormal(absolute);
}

std::string ProgramFolder(const char* argv0) {
  std::string exe;
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) {
    exe.assign(buffer, static_cast<size_t>(n));
  } else if (argv0 != nullptr) {
    char* resolved = ::realpath(argv0, nullptr);
    if (resolved != nullptr) {
      exe = resolved;
      std::free(resolved);
    }
  }
  const std::string folder = FolderOf(exe);
  std::string installed = JoinPath(FolderOf(folder), "share/quillmoor");
  const std::string data =
      FileNameOf(folder) == "bin" && Files().FolderExists(installed) ? installed : folder;
  RememberRealFolder(data);  // the stop-word lists' paths are lower-cased
  return data;
}

std::vector<std::string_view> SplitLines(std::string_view data) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = data.size();
    lines.push_back(data.substr(start, end - start));
    if (end < data.size() && data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return lines;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty() || Files().FolderExists(folder)) return true;
  if (!MakeFolders(FolderOf(folder))) return false;
  return ::mkdir(folder.c_str(), 0777) == 0 || Files().FolderExists(folder);
}

}  // namespace quillmoor
