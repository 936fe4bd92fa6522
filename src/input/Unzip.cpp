#include "input/Unzip.h"

#include <dlfcn.h>
#include <zip.h>

#include <memory>
#include <vector>

#include "shared/FileSystem.h"

namespace quillmoor {
namespace {

// The functions of libzip the program calls: X(name) for zip_<name>.
// clang-format off
#define QUILLMOOR_LIBZIP_FUNCTIONS(X) \
  X(open) X(discard) X(name_locate) X(fopen_index) X(fread) X(fclose) X(get_error) \
  X(file_get_error) X(error_init_with_code) X(error_fini) X(error_strerror) X(error_code_zip)
// clang-format on

// libzip, loaded on the first .docx (most runs never read one, and a short run's time
// is mostly the loading of libraries). Every function is there, or none is.
struct Libzip {
#define QUILLMOOR_LIBZIP_MEMBER(name) decltype(&zip_##name) name = nullptr;
  QUILLMOOR_LIBZIP_FUNCTIONS(QUILLMOOR_LIBZIP_MEMBER)
#undef QUILLMOOR_LIBZIP_MEMBER
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
    bool all = true;
#define QUILLMOOR_LIBZIP_BIND(name) all = all && Bind(library, "zip_" #name, &z.name);
    QUILLMOOR_LIBZIP_FUNCTIONS(QUILLMOOR_LIBZIP_BIND)
#undef QUILLMOOR_LIBZIP_BIND
    if (!all)
      z.failure = std::string(QUILLMOOR_LIBZIP_SONAME " lacks a function this program calls");
    return z;
  }();
  return lib;
}

}  // namespace

struct ZipArchive::Archive {
  zip_t* handle = nullptr;
};

ZipArchive::ZipArchive() = default;

ZipArchive::~ZipArchive() {
  if (archive_ != nullptr) LoadLibzip().discard(archive_->handle);
}

UnzipResult ZipArchive::Open(const std::string& path) {
  const Libzip& z = LoadLibzip();
  if (!z.failure.empty()) return {UnzipStatus::kNoLibrary, z.failure};
  if (archive_ != nullptr) {
    z.discard(archive_->handle);
    archive_.reset();
  }
  int openError = 0;
  zip_t* handle = z.open(path.c_str(), ZIP_RDONLY, &openError);
  if (handle == nullptr) {
    zip_error_t error;
    z.error_init_with_code(&error, openError);
    UnzipResult result{UnzipStatus::kNotZip, z.error_strerror(&error)};
    z.error_fini(&error);
    return result;
  }
  archive_ = std::make_unique<Archive>();
  archive_->handle = handle;
  return {};
}

bool ZipArchive::HasEntry(const std::string& name) const {
  return archive_ != nullptr && LoadLibzip().name_locate(archive_->handle, name.c_str(), 0) >= 0;
}

UnzipResult ZipArchive::Read(const std::string& name, long long maxBytes,
                             const std::function<bool(const char*, size_t, std::string*)>& put) {
  const Libzip& z = LoadLibzip();
  if (archive_ == nullptr) return {UnzipStatus::kNotZip, "no archive is open"};
  zip_t* archive = archive_->handle;
  const auto describe = [&z](zip_error_t* error) { return std::string(z.error_strerror(error)); };
  const zip_int64_t index = z.name_locate(archive, name.c_str(), 0);
  if (index < 0) return {UnzipStatus::kNoEntry, describe(z.get_error(archive))};
  const auto closeEntry = [&z](zip_file_t* file) { z.fclose(file); };
  std::unique_ptr<zip_file_t, decltype(closeEntry)> entry(
      z.fopen_index(archive, static_cast<zip_uint64_t>(index), 0), closeEntry);
  if (entry == nullptr) return {UnzipStatus::kDamaged, describe(z.get_error(archive))};
  std::vector<char> buffer(1 << 16);
  long long expanded = 0;
  std::string problem;
  while (true) {
    const zip_int64_t n = z.fread(entry.get(), buffer.data(), buffer.size());
    if (n == 0) return {};
    if (n < 0) {
      zip_error_t* error = z.file_get_error(entry.get());
      return {
          z.error_code_zip(error) == ZIP_ER_CRC ? UnzipStatus::kChecksum : UnzipStatus::kDamaged,
          describe(error)};
    }
    if (!put(buffer.data(), static_cast<size_t>(n), &problem)) {
      return {UnzipStatus::kWriteError, problem};
    }
    expanded += n;
    if (expanded > maxBytes) return {UnzipStatus::kTooLarge, ""};
  }
}

UnzipResult ZipArchive::ReadToString(const std::string& name, long long maxBytes,
                                     std::string* out) {
  out->clear();
  return Read(name, maxBytes, [out](const char* data, size_t size, std::string*) {
    out->append(data, size);
    return true;
  });
}

UnzipResult UnzipEntryToFile(const std::string& zipPath, const std::string& entryName,
                             const std::string& target, long long maxBytes) {
  ZipArchive archive;
  if (UnzipResult opened = archive.Open(zipPath); opened.status != UnzipStatus::kOk) return opened;
  if (!archive.HasEntry(entryName)) return archive.Read(entryName, maxBytes, nullptr);
  FileError fileError;
  std::unique_ptr<FileWriter> out = Files().CreateNew(target, &fileError);
  if (out == nullptr) return {UnzipStatus::kWriteError, fileError.description};
  UnzipResult result =
      archive.Read(entryName, maxBytes, [&out](const char* data, size_t size, std::string* why) {
        FileError error;
        if (out->Write(data, size, &error)) return true;
        *why = error.description;
        return false;
      });
  if (!out->Close(&fileError, false) && result.status == UnzipStatus::kOk) {
    result = {UnzipStatus::kWriteError, fileError.description};
  }
  return result;
}

}  // namespace quillmoor
