// Asking for memory ahead of its use.
#ifndef QUILLMOOR_SHARED_PREFETCH_H_
#define QUILLMOOR_SHARED_PREFETCH_H_

namespace quillmoor {

// Asks for the cache line that holds `at`. The compiler may drop a loop of nothing but
// __builtin_prefetch as one without effect (g++ 12 does, in the listing); this request
// is always made.
inline void PrefetchLine(const void* at) {
#if defined(__x86_64__) || defined(__i386__)
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(at)));
#elif defined(__aarch64__)
  asm volatile("prfm pldl1keep, %0" : : "Q"(*static_cast<const char*>(at)));
#else
  __builtin_prefetch(at);
#endif
}

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_PREFETCH_H_
