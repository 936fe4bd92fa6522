#include "output/Md5.h"

// MD5's own functions: an EVP digest would first load OpenSSL's default provider,
// which costs a small run more than the digest itself.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>
#include <string.h>

#include <memory>

#include "shared/FileSystem.h"

// MD5_Final wipes its state with OPENSSL_cleanse, which libcrypto keeps in the object
// that also holds its processor probe: a constructor that runs a dozen cpuid
// instructions at every start of the program (on a virtual machine each is a trap to the
// hypervisor, about 4 us here), although MD5 never asks what the processor can do. With
// the wipe defined here the static link leaves that object out. Should another part of
// libcrypto ever need it, the two definitions stop the link rather than go unnoticed.
extern "C" void OPENSSL_cleanse(void* ptr, size_t len) { explicit_bzero(ptr, len); }

namespace quillmoor {
namespace {

bool Update(MD5_CTX* ctx, const void* data, size_t size) {
  return MD5_Update(ctx, data, size) == 1;
}

std::string Finish(MD5_CTX* ctx) {
  unsigned char digest[MD5_DIGEST_LENGTH];
  if (MD5_Final(digest, ctx) != 1) return "";
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : digest) {
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 15]);
  }
  return out;
}

}  // namespace

std::string Md5Hex(const std::string& bytes) {
  MD5_CTX ctx;
  if (MD5_Init(&ctx) != 1 || !Update(&ctx, bytes.data(), bytes.size())) return "";
  return Finish(&ctx);
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
  MD5_CTX ctx;
  std::string_view whole;
  if (reader && reader->InMemory(&whole) && MD5_Init(&ctx) == 1 &&
      Update(&ctx, whole.data(), whole.size())) {
    return Finish(&ctx);
  }
  if (reader && MD5_Init(&ctx) == 1) {
    std::unique_ptr<char[]> chunk(new char[kMd5ChunkBytes]);
    while (true) {
      long long n = reader->Read(chunk.get(), kMd5ChunkBytes, &error);
      if (n < 0) break;
      if (n == 0) return Finish(&ctx);
      Update(&ctx, chunk.get(), static_cast<size_t>(n));
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
  pending_ =
      std::async(length_ >= kBackgroundBytes ? std::launch::async : std::launch::deferred, [path] {
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
