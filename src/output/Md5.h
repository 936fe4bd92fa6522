// The MD5 digest (RFC 1321) of a file, as file headers and index files carry it.
#ifndef QUILLMOOR_OUTPUT_MD5_H_
#define QUILLMOOR_OUTPUT_MD5_H_

#include <cstdint>
#include <future>
#include <string>

namespace quillmoor {

inline constexpr size_t kMd5ChunkBytes = 16384;

// The digest of the file's bytes as 32 upper-case hexadecimal digits, or "" with
// lngErr and strErr set: -4 empty name, -3 "Drive, not file" (a name like "C:"),
// -2 "Folder, not file", -1 "Zero-length file", or the error number and description
// of a read that failed.
std::string FileMD5(const std::string& strFile, int32_t& lngErr, std::string& strErr);

// The digest of `bytes`, in the same form.
std::string Md5Hex(const std::string& bytes);

// FileMD5 of a file computed on another thread while the run goes on: Start when the
// file has been read, Take when its digest is written. Take gives FileMD5 of the file
// as it is then: the early digest when it was made for the same path and the file's
// length has not changed, otherwise one computed at once. Each Start serves one Take.
class BackgroundDigest {
 public:
  BackgroundDigest() = default;
  ~BackgroundDigest();
  BackgroundDigest(const BackgroundDigest&) = delete;
  BackgroundDigest& operator=(const BackgroundDigest&) = delete;

  void Start(const std::string& path);
  std::string Take(const std::string& path, int32_t& lngErr, std::string& strErr);

 private:
  struct Result {
    std::string digest;
    int32_t error = 0;
    std::string errorText;
  };
  std::string path_;
  long long length_ = -1;
  std::future<Result> pending_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_MD5_H_
