#include "platform/LargeBuffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
// Below this the faults cost less than a huge page's clearing can waste.
constexpr qsizetype kWorthHugePages = qsizetype(4) << 20;

} // namespace

QByteArray largeBuffer(qsizetype size)
{
    QByteArray buffer(size, Qt::Uninitialized);
#if defined(MADV_HUGEPAGE)
    if (size >= kWorthHugePages) {
        // Only the whole huge pages inside the buffer: the advice must not reach memory of others.
        const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
        const std::uintptr_t from = (begin + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t to = (begin + static_cast<std::uintptr_t>(size)) & ~(kHugePage - 1);
        // A system without them refuses, and the buffer is as good with small pages.
        if (to > from)
            madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
    }
#endif
    return buffer;
}

} // namespace platform
