// Writing a large file front to back without leaving it all in the page cache: every
// 32 MB, the bytes written since are sent to the disk, and those sent the time before
// (written by now) are dropped from the cache. A corpus's index and kept texts are
// gigabytes that nothing reads while they are made; kept in the cache they would push
// out what the user's other programs use, and on a virtual machine each new page of
// the cache costs more than the copy into it.
//
// Contract: the file is written only at its end (a rewrite of bytes already written is
// harmless: they are written again and read back from the disk); nothing here fails.
#ifndef QUILLMOOR_CORPUS_WRITEBEHIND_H_
#define QUILLMOOR_CORPUS_WRITEBEHIND_H_

#include <cstdint>
#include <cstdio>

namespace quillmoor {

class WriteBehind {
 public:
  // The file's first `start` bytes are not this object's business.
  explicit WriteBehind(uint64_t start = 0) : sent_(start), dropped_(start) {}
  // The file (a stdio stream, flushed here when needed) now ends at `end`.
  void Wrote(std::FILE* file, uint64_t end);

 private:
  static constexpr uint64_t kChunk = uint64_t{32} << 20;
  uint64_t sent_, dropped_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_WRITEBEHIND_H_
