// The compression component of the index file: the gzip format (RFC 1952) made by
// zlib, so that `zcat book.oxn.ndx` shows the index text.
//
// The four operations as the index file uses them. Files go through the FileSystem
// layer. Every failure leaves no scratch or half-made target file behind and returns
// false.
#ifndef QUILLMOOR_OUTPUT_COMPRESSOR_H_
#define QUILLMOOR_OUTPUT_COMPRESSOR_H_

#include <string>

#include "shared/FileSystem.h"

namespace quillmoor {

// Non-zero when the component is ready (zlib is linked in: always).
int OpenCompressor();
void CloseCompressor();

// Compresses `source` in place: the compressed bytes are written to the new file
// `scratch` (made exclusively: nothing may exist under its name), which then replaces
// `source`. Afterwards `scratch` no longer exists. `flag` is 1.
bool CompressFile(const std::string& source, const std::string& scratch, int flag,
                  FileError* error = nullptr);

// Writes the expanded text of the compressed `source` into the new file `target`;
// `source` stays. `flag` is 0. A stream that is not gzip, is truncated or corrupt, or
// would expand beyond `maxBytes` fails.
bool DecompressFile(const std::string& source, const std::string& target, int flag,
                    long long maxBytes);
// The same, into a file the caller opened.
bool DecompressInto(const std::string& source, FileWriter& out, long long maxBytes);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_COMPRESSOR_H_
