// A large buffer starts on a huge page, inside a block of its own, and is still an ordinary byte
// array: Qt grows, copies, shrinks and frees it as any other.
#include "platform/LargeBuffer.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr qsizetype kHugePage = qsizetype(2) << 20;

QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 23);
    return bytes;
}

TEST(LargeBuffer, HasItsSizeAndAClosingNulOfEverySize)
{
    for (const qsizetype size : {qsizetype(0), qsizetype(1), 2 * kHugePage - 1, 2 * kHugePage, 2 * kHugePage + 1,
                                 5 * kHugePage + 3}) {
        const QByteArray buffer = platform::largeBuffer(size);
        EXPECT_EQ(buffer.size(), size);
        EXPECT_GE(buffer.capacity(), size);
        EXPECT_EQ(buffer.constData()[size], '\0') << size;
        if (size >= 2 * kHugePage)
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.constData()) % kHugePage, 0u) << size;
    }
}

TEST(LargeBuffer, GrowsCopiesAndShrinksAsAnyByteArray)
{
    const qsizetype size = 2 * kHugePage + 5;
    const QByteArray want = pattern(size);
    QByteArray buffer = platform::largeBuffer(size);
    std::memcpy(buffer.data(), want.constData(), static_cast<size_t>(size));

    // A copy shares it until written to, then the two part.
    QByteArray copy = buffer;
    copy[0] = '#';
    EXPECT_EQ(buffer, want);
    EXPECT_EQ(copy.mid(1), want.mid(1));

    // Cut short and filled again within its room, then grown past it: the bytes move with it.
    buffer.truncate(10);
    buffer.append(want.mid(10));
    EXPECT_EQ(buffer, want);
    const QByteArray tail = pattern(3 * kHugePage);
    buffer.append(tail);
    EXPECT_EQ(buffer, want + tail);
    buffer.prepend("head");
    EXPECT_EQ(buffer, "head" + want + tail);

    buffer.truncate(100);
    buffer.squeeze();
    EXPECT_EQ(buffer, ("head" + want).left(100));
}

} // namespace
