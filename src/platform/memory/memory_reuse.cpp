#include "platform/memory/memory_reuse.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace taviro::platform {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB come from the heap, and up to 64 MB of freed heap stay with the process.
    constexpr int kFromHeapUpTo = 32 << 20;
    constexpr int kKeepUpTo = 64 << 20;
    mallopt(M_MMAP_THRESHOLD, kFromHeapUpTo);
    mallopt(M_TRIM_THRESHOLD, kKeepUpTo);
#endif
}

}  // namespace taviro::platform
