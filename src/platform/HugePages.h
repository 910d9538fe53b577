#pragma once
// Large buffers filled at once (a whole file's text) cost a page fault per 4 KiB on first touch;
// advised as huge-page memory they cost one per 2 MiB where the kernel honours it (Linux's
// transparent huge pages), and nothing changes elsewhere or for small buffers.
#include <cstddef>

namespace platform {

inline constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;
// Below this the faults cost less than a huge page's clearing can waste.
inline constexpr std::size_t kHugePagesFrom = 2 * kHugePageBytes;

void adviseHugePages(const void *data, std::size_t bytes) noexcept;

} // namespace platform
