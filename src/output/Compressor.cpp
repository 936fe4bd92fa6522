#include "output/Compressor.h"

#include <zlib.h>

#include <memory>
#include <vector>

#include "shared/FileSystem.h"
#include "shared/ScratchFile.h"

namespace quillmoor {
namespace {

constexpr size_t kChunk = 1 << 18;
// gzip wrapping: 15 window bits plus 16.
constexpr int kGzipWindowBits = 15 + 16;
// The fastest compression: an index is written after every concordance run that asks
// for one, and its digits compress well even so.
constexpr int kLevel = 1;

// Ends the z_stream whatever happens.
class Deflater {
 public:
  Deflater()
      : ok_(deflateInit2(&z_, kLevel, Z_DEFLATED, kGzipWindowBits, 8, Z_DEFAULT_STRATEGY) == Z_OK) {
  }
  ~Deflater() {
    if (ok_) deflateEnd(&z_);
  }
  z_stream* get() { return &z_; }
  bool ok() const { return ok_; }

 private:
  z_stream z_{};
  bool ok_;
};

class Inflater {
 public:
  Inflater() : ok_(inflateInit2(&z_, kGzipWindowBits) == Z_OK) {}
  ~Inflater() {
    if (ok_) inflateEnd(&z_);
  }
  z_stream* get() { return &z_; }
  bool ok() const { return ok_; }

 private:
  z_stream z_{};
  bool ok_;
};

// Pushes the output buffer's `produced` bytes to `out`.
bool Flush(FileWriter& out, const std::vector<char>& buffer, size_t produced, FileError* error) {
  return produced == 0 || out.Write(buffer.data(), produced, error);
}

bool Deflate(FileReader& in, FileWriter& out, FileError* error) {
  Deflater d;
  if (!d.ok()) return false;
  z_stream* z = d.get();
  std::vector<char> input(kChunk), output(kChunk);
  int flush = Z_NO_FLUSH;
  do {
    const long long n = in.Read(input.data(), input.size(), error);
    if (n < 0) return false;
    flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
    z->next_in = reinterpret_cast<Bytef*>(input.data());
    z->avail_in = static_cast<uInt>(n);
    do {
      z->next_out = reinterpret_cast<Bytef*>(output.data());
      z->avail_out = static_cast<uInt>(output.size());
      if (deflate(z, flush) == Z_STREAM_ERROR) return false;
      if (!Flush(out, output, output.size() - z->avail_out, error)) return false;
    } while (z->avail_out == 0);
  } while (flush != Z_FINISH);
  return true;
}

bool Inflate(FileReader& in, FileWriter& out, long long maxBytes) {
  Inflater d;
  if (!d.ok()) return false;
  z_stream* z = d.get();
  std::vector<char> input(kChunk), output(kChunk);
  FileError error;
  long long total = 0;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    const long long n = in.Read(input.data(), input.size(), &error);
    if (n <= 0) return false;  // a read error, or the stream ends too early
    z->next_in = reinterpret_cast<Bytef*>(input.data());
    z->avail_in = static_cast<uInt>(n);
    do {
      z->next_out = reinterpret_cast<Bytef*>(output.data());
      z->avail_out = static_cast<uInt>(output.size());
      status = inflate(z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) return false;  // corrupt data
      const size_t produced = output.size() - z->avail_out;
      total += static_cast<long long>(produced);
      if (total > maxBytes || !Flush(out, output, produced, &error)) return false;
    } while (z->avail_out == 0 && status != Z_STREAM_END);
  }
  return true;
}

}  // namespace

int OpenCompressor() { return 1; }

void CloseCompressor() {}

bool CompressFile(const std::string& source, const std::string& scratch, int, FileError* error) {
  FileError ignored;
  if (error == nullptr) error = &ignored;
  std::unique_ptr<FileReader> in = Files().OpenRead(source, error);
  std::unique_ptr<ScratchFile> out = in ? ScratchFile::At(scratch, error) : nullptr;
  return out != nullptr && Deflate(*in, out->writer(), error) && out->CommitTo(source, error);
}

bool DecompressInto(const std::string& source, FileWriter& out, long long maxBytes) {
  FileError error;
  std::unique_ptr<FileReader> in = Files().OpenRead(source, &error);
  return in != nullptr && Inflate(*in, out, maxBytes);
}

bool DecompressFile(const std::string& source, const std::string& target, int, long long maxBytes) {
  FileError error;
  std::unique_ptr<ScratchFile> out = ScratchFile::At(target, &error);
  if (out == nullptr || !DecompressInto(source, out->writer(), maxBytes) ||
      !out->Close(&error, false)) {
    return false;
  }
  out->Keep();
  return true;
}

}  // namespace quillmoor
