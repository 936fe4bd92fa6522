// The MD5 digest (RFC 1321) of a file, as file headers and index files carry it.
#ifndef QUILLMOOR_OUTPUT_MD5_H_
#define QUILLMOOR_OUTPUT_MD5_H_

#include <cstdint>
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

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_MD5_H_
