// Temporary folders and files for tests, and a file system that injects faults.
#ifndef QUILLMOOR_TESTS_SUPPORT_TESTFILES_H_
#define QUILLMOOR_TESTS_SUPPORT_TESTFILES_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shared/FileSystem.h"

namespace quillmoor::testing {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  // Writes `bytes` to `name` inside the folder and returns the file's path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// The real file system, except for the paths given faults: opening fails with the
// given error, or reading fails after the first `readOkBytes` bytes, or the length
// is reported as `length`.
class FaultyFileSystem : public FileSystem {
 public:
  struct Fault {
    FileError openError;         // number 0 = opening works
    long long readOkBytes = -1;  // >= 0: reading fails after this many bytes
    long long length = -1;       // >= 0: the length reported
  };
  std::map<std::string, Fault> faults;

  // Writing to a path that begins with a key fails: opening fails with `openError`,
  // or writing fails with `writeError` after `writeOkBytes` bytes.
  struct WriteFault {
    FileError openError;
    FileError writeError{kErrDiskFull, "Disk full"};
    long long writeOkBytes = 0;
  };
  std::map<std::string, WriteFault> writeFaults;
  // Run once, after the first write to the next file created: another writer's whole
  // write between this one's create and rename.
  std::function<void()> meanwhile;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  long long FileLength(const std::string& path, FileError* error) override;
  std::unique_ptr<FileReader> OpenRead(const std::string& path, FileError* error) override;
  std::unique_ptr<FileWriter> CreateNew(const std::string& path, FileError* error) override;
  bool Rename(const std::string& from, const std::string& to, FileError* error) override;
  bool Remove(const std::string& path, FileError* error) override;
  std::vector<std::string> List(const std::string& folder) override;
};

std::string ReadWholeFile(const std::string& path);

// The names of the entries of `folder`, sorted.
std::vector<std::string> FilesIn(const std::string& folder);

// Sets an environment variable for the lifetime of this object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string saved_;
  bool had_ = false;
};

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_TESTFILES_H_
