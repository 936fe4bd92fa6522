// ZIP archives, over libzip: the entries of the documents that are archives (.docx,
// .odt, .epub), read into memory or into a file whose path the caller builds (never a
// path the archive gives), with a checksum mismatch told apart from the other
// failures. libzip is loaded on the first call (by its shared library's name, as the
// build found it).
#ifndef QUILLMOOR_INPUT_UNZIP_H_
#define QUILLMOOR_INPUT_UNZIP_H_

#include <functional>
#include <memory>
#include <string>

namespace quillmoor {

enum class UnzipStatus {
  kOk,          // the whole entry was extracted
  kChecksum,    // extracted, but its CRC does not match the archive's
  kTooLarge,    // extraction stopped after more than the limit (the file holds that much)
  kNotZip,      // the archive cannot be opened
  kNoEntry,     // the archive has no such entry
  kDamaged,     // the entry's data cannot be expanded
  kWriteError,  // the target file cannot be written
  kNoLibrary,   // libzip cannot be loaded (detail says why)
};

struct UnzipResult {
  UnzipStatus status = UnzipStatus::kOk;
  std::string detail;  // the library's or the file system's description of a failure
};

// One archive, open for reading its entries by name. The sizes in the archive's
// headers are not trusted: an entry's data is counted as it is expanded, and reading
// stops once more than the limit given was expanded (kTooLarge), so that a small
// archive that expands to gigabytes is refused after the limit, not after the disk
// or the memory is full.
class ZipArchive {
 public:
  ZipArchive();
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  UnzipResult Open(const std::string& path);
  bool HasEntry(const std::string& name) const;
  // The entry's data, piece by piece, to put(data, size, why): false (with *why) stops
  // the reading with kWriteError.
  UnzipResult Read(const std::string& name, long long maxBytes,
                   const std::function<bool(const char*, size_t, std::string*)>& put);
  // The entry's data into *out (what was read so far on a failure).
  UnzipResult ReadToString(const std::string& name, long long maxBytes, std::string* out);

 private:
  struct Archive;
  std::unique_ptr<Archive> archive_;
};

// Extracts entry `entryName` of the archive `zipPath` into
// `target`. The sizes in the archive's headers are not trusted: the data is counted as
// it is expanded, and extraction stops once more than `maxBytes` bytes were written.
UnzipResult UnzipEntryToFile(const std::string& zipPath, const std::string& entryName,
                             const std::string& target, long long maxBytes);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_UNZIP_H_
