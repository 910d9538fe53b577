#include "platform/LargeBuffer.h"

#include "platform/HugePages.h"

#include <cstdint>

namespace platform {

QByteArray largeBuffer(qsizetype size)
{
    constexpr auto hugePage = static_cast<qsizetype>(kHugePageBytes);
    if (size < static_cast<qsizetype>(kHugePagesFrom))
        return QByteArray(size, Qt::Uninitialized);
    // The text starts on a huge page and its room ends on one, so that every page it touches can
    // be huge: a partial one at either end is faulted 4 KiB at a time, which for a few MiB costs
    // as much as the pass that fills the buffer. The rest of the block is never touched.
    const qsizetype room = (size + 1 + hugePage - 1) / hugePage * hugePage; // with the closing '\0'
    auto [header, block] = QTypedArrayData<char>::allocate(room + hugePage);
    Q_CHECK_PTR(header);
    const auto blockStart = reinterpret_cast<std::uintptr_t>(block);
    char *const data = block + (((blockStart + hugePage - 1) & ~std::uintptr_t(hugePage - 1)) - blockStart);
    adviseHugePages(data, static_cast<std::size_t>(room));
    data[size] = '\0';
    return QByteArray(QByteArray::DataPointer(header, data, size));
}

} // namespace platform
