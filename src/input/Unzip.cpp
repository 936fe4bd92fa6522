#include "input/Unzip.h"

#include <zip.h>

#include <memory>
#include <vector>

#include "shared/FileSystem.h"

namespace quillmoor {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string Describe(zip_error_t* error) { return zip_error_strerror(error); }

}  // namespace

UnzipResult UnzipEntryToFile(const std::string& zipPath, const std::string& entryName,
                             const std::string& target, long long maxBytes) {
  UnzipResult result;
  int openError = 0;
  std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open(zipPath.c_str(), ZIP_RDONLY, &openError));
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, openError);
    result = {UnzipStatus::kNotZip, Describe(&error)};
    zip_error_fini(&error);
    return result;
  }
  const zip_int64_t index = zip_name_locate(archive.get(), entryName.c_str(), 0);
  if (index < 0) return {UnzipStatus::kNoEntry, Describe(zip_get_error(archive.get()))};
  std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
  if (entry == nullptr) return {UnzipStatus::kDamaged, Describe(zip_get_error(archive.get()))};

  FileError fileError;
  std::unique_ptr<FileWriter> out = Files().CreateNew(target, &fileError);
  if (out == nullptr) return {UnzipStatus::kWriteError, fileError.description};
  std::vector<char> buffer(1 << 16);
  long long written = 0;
  while (true) {
    const zip_int64_t n = zip_fread(entry.get(), buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) {
      zip_error_t* error = zip_file_get_error(entry.get());
      result = {zip_error_code_zip(error) == ZIP_ER_CRC ? UnzipStatus::kChecksum : UnzipStatus::kDamaged,
                Describe(error)};
      break;
    }
    if (!out->Write(buffer.data(), static_cast<size_t>(n), &fileError)) {
      result = {UnzipStatus::kWriteError, fileError.description};
      break;
    }
    written += n;
    if (written > maxBytes) {
      result = {UnzipStatus::kTooLarge, ""};
      break;
    }
  }
  if (!out->Close(&fileError, false) && result.status == UnzipStatus::kOk) {
    result = {UnzipStatus::kWriteError, fileError.description};
  }
  return result;
}

}  // namespace quillmoor
