// Room for large arrays that are filled once and read: backed by the kernel's huge pages
// where it gives them on asking (transparent huge pages in "madvise" mode), so that
// filling forty megabytes takes twenty page faults, not ten thousand. On a virtual
// machine each fault costs microseconds.
#ifndef QUILLMOOR_SHARED_HUGEPAGES_H_
#define QUILLMOOR_SHARED_HUGEPAGES_H_

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillmoor {

// Reserves room for `count` elements in *v; the whole huge pages within a room of four
// megabytes or more are asked for as huge pages (before anything is written to them).
template <typename T>
void ReserveHuge(std::vector<T>* v, size_t count) {
  v->reserve(count);
  constexpr size_t kHuge = size_t{2} << 20;
  const size_t bytes = v->capacity() * sizeof(T);
  if (bytes < 2 * kHuge) return;
  const auto begin = reinterpret_cast<uintptr_t>(v->data());
  const uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t last = (begin + bytes) & ~(kHuge - 1);
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_HUGEPAGES_H_
