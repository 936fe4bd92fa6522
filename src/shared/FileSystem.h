// The file layer: every file the core reads goes through FileSystem, so tests can
// inject faults (permission denied, read errors, impossible sizes) and the front ends
// share one implementation of the platform calls.
//
// Paths are the names the operating system uses, as the controls hold them: UTF-8
// text (or whatever bytes a name has), folders separated by "/".
// Errors come back as the program's error numbers with a description of the cause:
//   53 "File not found", 58 "File already exists", 61 "Disk full", 70 "Permission
//   denied", 75 "Path/File access error" (and "Read-only file system"), 57 for the
//   rest, with the system's own words ("File too large", "Input/output error").
//
// Files are written through scratch files (shared/ScratchFile.h): CreateNew never
// truncates or follows a link.
#ifndef QUILLMOOR_SHARED_FILESYSTEM_H_
#define QUILLMOOR_SHARED_FILESYSTEM_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

struct FileError {
  int32_t number = 0;       // 0 = no error
  std::string description;  // the text a message shows
  bool ok() const { return number == 0; }
};

inline constexpr int32_t kErrFileNotFound = 53;
inline constexpr int32_t kErrDeviceIO = 57;
inline constexpr int32_t kErrPermissionDenied = 70;
inline constexpr int32_t kErrPathAccess = 75;

inline constexpr int32_t kErrFileAlreadyExists = 58;
inline constexpr int32_t kErrDiskFull = 61;
inline constexpr int32_t kErrPathNotFound = 76;

// Sequential writing of one new file. Close() must be called and checked: data may
// reach the disk only then.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  virtual bool Write(const char* data, size_t size, FileError* error) = 0;
  // Closes the file; with `sync` the bytes first reach the disk.
  virtual bool Close(FileError* error, bool sync = true) = 0;
};

// Sequential reading of one open file. Read() returns the number of bytes placed in
// `buffer` (0 at end of file) or -1 with *error set.
class FileReader {
 public:
  virtual ~FileReader() = default;
  virtual long long Read(char* buffer, size_t size, FileError* error) = 0;
  // The file's length when it was opened, or -1 when not known (a pipe, a device).
  virtual long long Length() const { return -1; }
  // True with *bytes set when the whole file is in memory already (a small file the
  // file layer kept, shared/KeptFiles.h): a caller may take them instead of reading.
  virtual bool InMemory(std::string_view* /*bytes*/) const { return false; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when `path` names an existing regular file.
  virtual bool FileExists(const std::string& path) = 0;
  // True when `path` names an existing folder.
  virtual bool FolderExists(const std::string& path) = 0;
  // The length of the file in bytes, or -1 with *error set.
  virtual long long FileLength(const std::string& path, FileError* error) = 0;
  // Opens the file for binary reading; nullptr with *error set on failure.
  virtual std::unique_ptr<FileReader> OpenRead(const std::string& path, FileError* error) = 0;
  // Creates a new file for writing; nullptr with *error set on failure. Anything that
  // exists under the name (a file, a folder, a link, even a dangling one) makes it
  // fail with kErrFileAlreadyExists: no link is followed and nothing is truncated.
  virtual std::unique_ptr<FileWriter> CreateNew(const std::string& path, FileError* error) = 0;
  // Replaces `to` by `from`.
  virtual bool Rename(const std::string& from, const std::string& to, FileError* error) = 0;
  virtual bool Remove(const std::string& path, FileError* error) = 0;
  // The names in a folder (files and folders), without "." and "..".
  virtual std::vector<std::string> List(const std::string& folder) = 0;
};

// The file system the core uses: the real one unless a test installed another.
FileSystem& Files();

// Installs `fs` as the file system for the lifetime of this object (tests only).
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem* fs);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// The platform's file system.
FileSystem& RealFileSystem();

// FileExists of the toolkit: false for an empty path.
bool FileExists(const std::string& path);
// True when anything exists under `path`: a file, a folder, a link (even a dangling
// one).
bool PathTaken(const std::string& path);
// True when both paths exist and name the same file (the same device and inode, links
// followed).
bool SameFile(const std::string& a, const std::string& b);
// True when `path` names a device, a pipe or a socket (/dev/null, a named pipe): such a
// target is written into, never replaced by a file of the same name.
bool IsDeviceOrPipe(const std::string& path);
// The error an errno value means, with the real cause: "Disk full", "File too large",
// "Permission denied", "Read-only file system" ...
FileError FileErrorFromErrno(int err);
// Reads up to `maxBytes` bytes from the start of the file (all of it when maxBytes < 0).
bool ReadFilePrefix(const std::string& path, long long maxBytes, std::string* out,
                    FileError* error);
// The same from a file opened already.
bool ReadFrom(FileReader& reader, long long maxBytes, std::string* out, FileError* error);

// Writes `bytes` to `path` completely or not at all: the bytes go to a scratch file
// beside it (ScratchFile::Beside: a name of its own, made exclusively), which then
// replaces `path`. On failure `path` is unchanged, the scratch file is gone and *error
// says why. A device, a pipe or a socket under `path` is written into, not replaced.
// The pieces are written one after the other. With `durable` the bytes are on the
// disk before the new file replaces the old one.
bool WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                         FileError* error, bool durable = true);
// The same, with the bytes written by `produce` through the writer it is given;
// `produce` returns false (with *error set) when it fails.
bool WriteFileAtomically(const std::string& path,
                         const std::function<bool(FileWriter& writer, FileError* error)>& produce,
                         FileError* error, bool durable = true);
// The same, with the bytes handed piece by piece to the `write` that `produce` is given
// (an export that knows nothing of files).
using PieceWriter = std::function<void(std::string_view piece)>;
bool WritePiecesAtomically(const std::string& path,
                           const std::function<void(const PieceWriter& write)>& produce,
                           FileError* error, bool durable = true);

// The file the program means by a path it has lower-cased: `path` itself when it
// exists, otherwise the file whose name matches it when letter case is ignored,
// otherwise `path` unchanged. A remembered folder (below) is tried first: its
// lower-cased name at the start of `path` stands for it. Otherwise the folders are
// matched one by one from the root, and the folder found is remembered.
std::string ResolveLowerCasedPath(const std::string& path);
// Remembers `folder` as the system spells it, for ResolveLowerCasedPath (the program's
// folder is remembered by ProgramFolder). Holds the eight remembered last.
void RememberRealFolder(const std::string& folder);

// A path given on a command line as the program holds paths: absolute (from the
// current folder), without "." and ".." components.
std::string AbsolutePath(const std::string& given);
// The path without "." and ".." components and with single slashes, as lexical
// normalisation (std::filesystem's) makes it: "/a/./b/../c" is "/a/c", "a/.." is ".",
// "/a/b/.." is "/a/", "../a" stays.
std::string LexicallyNormal(std::string_view path);

// The folder part of a path: everything before the last "/" ("" when there is none;
// "/" for a file in the root folder).
std::string FolderOf(const std::string& path);
// The last component of a path (after the last "/").
std::string FileNameOf(const std::string& path);
// The lines of `data`, each ending at CR LF, CR or LF (a last line without an end
// counts too), as views into it.
std::vector<std::string_view> SplitLines(std::string_view data);
// Makes `folder` and the folders above it that are missing; true when it exists.
bool MakeFolders(const std::string& folder);
// Joins a folder and a name with exactly one "/" between them.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder for temporary files and folders: $TMPDIR when it names a folder,
// otherwise /tmp (without a trailing "/").
std::string TemporaryFolder();

// The folder the program's data files lie in: the executable's folder, or
// ../share/quillmoor beside it once installed. `argv0` is used only when the
// executable's own path cannot be read from the system.
std::string ProgramFolder(const char* argv0 = nullptr);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_FILESYSTEM_H_
