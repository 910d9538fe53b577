#include "platform/HugePages.h"

#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

void adviseHugePages(const void *data, std::size_t bytes) noexcept
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t hugePage = kHugePageBytes;
    if (bytes < kHugePagesFrom)
        return;
    // Only whole huge pages inside the buffer: the memory around it may belong to others.
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(hugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace platform
