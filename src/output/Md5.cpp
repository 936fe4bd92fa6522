#include "output/Md5.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <memory>

#include "shared/FileSystem.h"

namespace quillmoor {
namespace {

struct CtxFree {
  void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
using Md5Context = std::unique_ptr<EVP_MD_CTX, CtxFree>;

Md5Context NewContext() {
  // The digest needs none of the system's OpenSSL configuration: not reading it saves
  // a file and its parsing at every start.
  static const bool initialized = OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG, nullptr) == 1;
  (void)initialized;
  Md5Context ctx(EVP_MD_CTX_new());
  if (ctx && EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1) ctx.reset();
  return ctx;
}

std::string Finish(EVP_MD_CTX* ctx) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(ctx, digest, &length) != 1) return "";
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned int i = 0; i < length; ++i) {
    out.push_back(kHex[digest[i] >> 4]);
    out.push_back(kHex[digest[i] & 15]);
  }
  return out;
}

}  // namespace

std::string Md5Hex(const std::string& bytes) {
  Md5Context ctx = NewContext();
  if (!ctx || EVP_DigestUpdate(ctx.get(), bytes.data(), bytes.size()) != 1) return "";
  return Finish(ctx.get());
}

std::string FileMD5(const std::string& strFile, int32_t& lngErr, std::string& strErr) {
  lngErr = 0;
  strErr.clear();
  if (strFile.empty()) {
    lngErr = -4;
    return "";
  }
  if (strFile.size() == 2 && strFile[1] == ':') {
    lngErr = -3;
    strErr = "Drive, not file";
    return "";
  }
  if (Files().FolderExists(strFile)) {
    lngErr = -2;
    strErr = "Folder, not file";
    return "";
  }
  FileError error;
  if (Files().FileExists(strFile) && Files().FileLength(strFile, &error) == 0) {
    lngErr = -1;
    strErr = "Zero-length file";
    return "";
  }
  std::unique_ptr<FileReader> reader = Files().OpenRead(strFile, &error);
  Md5Context ctx = NewContext();
  if (reader && ctx) {
    std::unique_ptr<char[]> chunk(new char[kMd5ChunkBytes]);
    while (true) {
      long long n = reader->Read(chunk.get(), kMd5ChunkBytes, &error);
      if (n < 0) break;
      if (n == 0) return Finish(ctx.get());
      EVP_DigestUpdate(ctx.get(), chunk.get(), static_cast<size_t>(n));
    }
  }
  if (error.ok()) error = {kErrDeviceIO, "Device I/O error"};
  lngErr = error.number;
  strErr = error.description;
  return "";
}

BackgroundDigest::~BackgroundDigest() {
  if (pending_.valid()) pending_.wait();
}

void BackgroundDigest::Start(const std::string& path) {
  if (pending_.valid()) pending_.wait();
  FileError error;
  path_ = path;
  length_ = Files().FileLength(path, &error);
  // A small file is digested when the digest is wanted: a thread would cost more.
  constexpr long long kBackgroundBytes = 1 << 20;
  pending_ = std::async(length_ >= kBackgroundBytes ? std::launch::async : std::launch::deferred, [path] {
    Result r;
    r.digest = FileMD5(path, r.error, r.errorText);
    return r;
  });
}

std::string BackgroundDigest::Take(const std::string& path, int32_t& lngErr, std::string& strErr) {
  if (pending_.valid()) {
    Result r = pending_.get();
    FileError error;
    if (path == path_ && Files().FileLength(path, &error) == length_) {
      lngErr = r.error;
      strErr = r.errorText;
      return r.digest;
    }
  }
  return FileMD5(path, lngErr, strErr);
}

}  // namespace quillmoor
