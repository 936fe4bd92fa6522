#include "corpus/WriteBehind.h"

#include <fcntl.h>

namespace quillmoor {

void WriteBehind::Wrote(std::FILE* file, uint64_t end) {
  if (file == nullptr || end < sent_ + kChunk) return;
  if (std::fflush(file) != 0) return;
  const int fd = ::fileno(file);
  // This chunk on its way to the disk; the one before waited for, then dropped.
  ::sync_file_range(fd, static_cast<off_t>(sent_), static_cast<off_t>(end - sent_),
                    SYNC_FILE_RANGE_WRITE);
  if (sent_ > dropped_) {
    ::sync_file_range(
        fd, static_cast<off_t>(dropped_), static_cast<off_t>(sent_ - dropped_),
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    ::posix_fadvise(fd, static_cast<off_t>(dropped_), static_cast<off_t>(sent_ - dropped_),
                    POSIX_FADV_DONTNEED);
    dropped_ = sent_;
  }
  sent_ = end;
}

}  // namespace quillmoor
