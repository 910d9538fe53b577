#pragma once
// Helpers shared by the fuzz targets: a failed property prints what differed and aborts, so
// libFuzzer keeps the input.

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {

inline QByteArray bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void fail(const char *what, const QByteArray &got, const QByteArray &expected)
{
    std::fprintf(stderr, "property failed: %s\n  got:      %s\n  expected: %s\n", what,
                 got.toHex(' ').constData(), expected.toHex(' ').constData());
    std::abort();
}

inline void expectEqual(const char *what, const QByteArray &got, const QByteArray &expected)
{
    if (got != expected)
        fail(what, got, expected);
}

inline void expectEqual(const char *what, const QString &got, const QString &expected)
{
    if (got != expected)
        fail(what, got.toUtf8(), expected.toUtf8());
}

inline void expect(const char *what, bool holds)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

// A scratch folder in memory where there is one: the atomic writes sync every file they write,
// which on a disk would make a run wait for it.
inline QString scratchTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? QStringLiteral("/dev/shm/plendor-fuzz-XXXXXX") : QString();
}

inline std::unique_ptr<QTemporaryDir> newScratchFolder()
{
    const QString pattern = scratchTemplate();
    auto dir = pattern.isEmpty() ? std::make_unique<QTemporaryDir>() : std::make_unique<QTemporaryDir>(pattern);
    expect("create a scratch folder", dir->isValid());
    return dir;
}

} // namespace fuzz
