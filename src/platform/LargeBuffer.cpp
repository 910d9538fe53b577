#include "platform/LargeBuffer.h"

#include "platform/HugePages.h"

namespace platform {

QByteArray largeBuffer(qsizetype size)
{
    QByteArray buffer(size, Qt::Uninitialized);
    adviseHugePages(buffer.constData(), static_cast<std::size_t>(size));
    return buffer;
}

} // namespace platform
