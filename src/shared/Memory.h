// Memory hints to the operating system.
#ifndef QUILLMOOR_SHARED_MEMORY_H_
#define QUILLMOOR_SHARED_MEMORY_H_

#include <cstddef>

namespace quillmoor {

// Asks for large pages for the whole 2 MiB pages inside [data, data + size), before
// they are first written. A hint: nothing happens where the system does not offer them.
void AdviseLargePages(void* data, size_t size);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_MEMORY_H_
