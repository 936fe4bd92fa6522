#include "input/Unzip.h"

#include <dlfcn.h>
#include <zip.h>

#include <memory>
#include <vector>

#include "shared/FileSystem.h"

namespace quillmoor {
namespace {

// libzip, loaded on the first .docx (most runs never read one, and a short run's time
// is mostly the loading of libraries). Every function is there, or none is.
struct Libzip {
  decltype(&zip_open) open = nullptr;
  decltype(&zip_discard) discard = nullptr;
  decltype(&zip_name_locate) name_locate = nullptr;
  decltype(&zip_fopen_index) fopen_index = nullptr;
  decltype(&zip_fread) fread = nullptr;
  decltype(&zip_fclose) fclose = nullptr;
  decltype(&zip_get_error) get_error = nullptr;
  decltype(&zip_file_get_error) file_get_error = nullptr;
  decltype(&zip_error_init_with_code) error_init_with_code = nullptr;
  decltype(&zip_error_fini) error_fini = nullptr;
  decltype(&zip_error_strerror) error_strerror = nullptr;
  decltype(&zip_error_code_zip) error_code_zip = nullptr;
  std::string failure;  // why it could not be loaded, or ""
};

template <typename F>
bool Bind(void* library, const char* name, F* function) {
  *function = reinterpret_cast<F>(::dlsym(library, name));
  return *function != nullptr;
}

const Libzip& LoadLibzip() {
  static const Libzip lib = [] {
    Libzip z;
    void* library = ::dlopen(QUILLMOOR_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      const char* why = ::dlerror();
      z.failure = why != nullptr ? why : QUILLMOOR_LIBZIP_SONAME " cannot be loaded";
      return z;
    }
    const bool all = Bind(library, "zip_open", &z.open) && Bind(library, "zip_discard", &z.discard) &&
                     Bind(library, "zip_name_locate", &z.name_locate) &&
                     Bind(library, "zip_fopen_index", &z.fopen_index) && Bind(library, "zip_fread", &z.fread) &&
                     Bind(library, "zip_fclose", &z.fclose) && Bind(library, "zip_get_error", &z.get_error) &&
                     Bind(library, "zip_file_get_error", &z.file_get_error) &&
                     Bind(library, "zip_error_init_with_code", &z.error_init_with_code) &&
                     Bind(library, "zip_error_fini", &z.error_fini) &&
                     Bind(library, "zip_error_strerror", &z.error_strerror) &&
                     Bind(library, "zip_error_code_zip", &z.error_code_zip);
    if (!all) z.failure = std::string(QUILLMOOR_LIBZIP_SONAME " lacks a function this program calls");
    return z;
  }();
  return lib;
}

}  // namespace

UnzipResult UnzipEntryToFile(const std::string& zipPath, const std::string& entryName,
                             const std::string& target, long long maxBytes) {
  const Libzip& z = LoadLibzip();
  if (!z.failure.empty()) return {UnzipStatus::kNoLibrary, z.failure};
  const auto describe = [&z](zip_error_t* error) { return std::string(z.error_strerror(error)); };
  const auto closeArchive = [&z](zip_t* archive) { z.discard(archive); };
  const auto closeEntry = [&z](zip_file_t* file) { z.fclose(file); };
  UnzipResult result;
  int openError = 0;
  std::unique_ptr<zip_t, decltype(closeArchive)> archive(z.open(zipPath.c_str(), ZIP_RDONLY, &openError), closeArchive);
  if (archive == nullptr) {
    zip_error_t error;
    z.error_init_with_code(&error, openError);
    result = {UnzipStatus::kNotZip, describe(&error)};
    z.error_fini(&error);
    return result;
  }
  const zip_int64_t index = z.name_locate(archive.get(), entryName.c_str(), 0);
  if (index < 0) return {UnzipStatus::kNoEntry, describe(z.get_error(archive.get()))};
  std::unique_ptr<zip_file_t, decltype(closeEntry)> entry(
      z.fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0), closeEntry);
  if (entry == nullptr) return {UnzipStatus::kDamaged, describe(z.get_error(archive.get()))};

  FileError fileError;
  std::unique_ptr<FileWriter> out = Files().CreateNew(target, &fileError);
  if (out == nullptr) return {UnzipStatus::kWriteError, fileError.description};
  std::vector<char> buffer(1 << 16);
  long long written = 0;
  while (true) {
    const zip_int64_t n = z.fread(entry.get(), buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) {
      zip_error_t* error = z.file_get_error(entry.get());
      result = {z.error_code_zip(error) == ZIP_ER_CRC ? UnzipStatus::kChecksum : UnzipStatus::kDamaged,
                describe(error)};
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
