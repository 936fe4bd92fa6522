// Small files read once in a run.
//
// A run looks at its document and its stop-word list many times: whether they exist,
// how long they are, their encoding, line ends, NUL bytes and language, then the
// reading itself. While a ScopedFileKeeping lives, the real file system reads a regular
// file of at most kKeptFileBytes whole at its first opening and keeps the bytes (of the
// kKeptFiles files opened last); from then on the run's questions about that path (does
// it exist, its length, its bytes) are answered from them, without asking the system
// again. The checks and the reading therefore see the same bytes even if the file
// changes meanwhile. Creating, replacing or removing the path through the file system
// forgets it.
//
// The command line holds one scope for each command it runs. The desktop program holds
// none: its user may change a file between two runs.
#ifndef QUILLMOOR_SHARED_KEPTFILES_H_
#define QUILLMOOR_SHARED_KEPTFILES_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quillmoor {

inline constexpr long long kKeptFileBytes = 256 * 1024;
inline constexpr size_t kKeptFiles = 4;

// The kept bytes. Thread-safe: a digest may be read on another thread.
class KeptFiles {
 public:
  // The kept bytes of `path`, or nullptr.
  std::shared_ptr<const std::string> Find(const std::string& path);
  // Keeps `bytes` as the contents of `path`, dropping the copy used least recently when
  // kKeptFiles are kept already.
  void Keep(const std::string& path, std::shared_ptr<const std::string> bytes);
  // Drops the bytes of `path` (it is being written).
  void Forget(const std::string& path);

 private:
  struct Entry {
    std::string path;
    std::shared_ptr<const std::string> bytes;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;  // the most recently used last
};

// The store of the live scope, or nullptr.
KeptFiles* ActiveKeptFiles();

// Keeps small files for its lifetime (a nested scope uses the outer one's store).
class ScopedFileKeeping {
 public:
  ScopedFileKeeping();
  ~ScopedFileKeeping();
  ScopedFileKeeping(const ScopedFileKeeping&) = delete;
  ScopedFileKeeping& operator=(const ScopedFileKeeping&) = delete;

 private:
  std::unique_ptr<KeptFiles> owned_;  // null when an outer scope's store is used
};

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_KEPTFILES_H_
