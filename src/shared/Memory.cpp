#include "shared/Memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace quillmoor {

void AdviseLargePages(void* data, size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr uintptr_t kLargePage = 2u << 20;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kLargePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace quillmoor
