// The unzip component of the docx reader, over libzip: extracts one named entry of a
// ZIP archive into a file whose path the caller builds (never a path the archive
// gives), and tells a checksum mismatch apart from the other failures. libzip is
// loaded on the first call (by its shared library's name, as the build found it).
#ifndef QUILLMOOR_INPUT_UNZIP_H_
#define QUILLMOOR_INPUT_UNZIP_H_

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

// Extracts entry `entryName` of the archive `zipPath` into
// `target`. The sizes in the archive's headers are not trusted: the data is counted as
// it is expanded, and extraction stops once more than `maxBytes` bytes were written.
UnzipResult UnzipEntryToFile(const std::string& zipPath, const std::string& entryName,
                             const std::string& target, long long maxBytes);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_UNZIP_H_
