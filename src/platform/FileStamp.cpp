#include "platform/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

namespace platform {
namespace {

constexpr auto kHash = QCryptographicHash::Md5; // tells versions apart; no adversary here

bool statOf(const QString &path, struct stat &st) { return ::stat(QFile::encodeName(path).constData(), &st) == 0; }

FileStamp fromStat(const struct stat &st)
{
    FileStamp stamp;
    stamp.known = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.size = st.st_size;
    return stamp;
}

QByteArray hashOfFile(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(kHash);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

} // namespace

FileStamp FileStamp::of(const QString &path)
{
    struct stat st {};
    if (!statOf(path, st))
        return {};
    FileStamp stamp = fromStat(st);
    if (stamp.regular)
        stamp.hash = hashOfFile(path);
    return stamp;
}

FileStamp FileStamp::afterWrite(const QString &path, QByteArrayView written)
{
    struct stat st {};
    if (!statOf(path, st))
        return {};
    FileStamp stamp = fromStat(st);
    if (stamp.regular)
        stamp.hash = QCryptographicHash::hash(written, kHash);
    return stamp;
}

bool changedSince(const FileStamp &stamp, const QString &path)
{
    struct stat st {};
    if (!stamp.known || !stamp.regular || !statOf(path, st))
        return false;
    const FileStamp now = fromStat(st);
    if (!now.regular || now.size != stamp.size)
        return true;
    // Not the modification time: it misses two writes within one clock tick and calls a save of
    // the same text a change. The bytes decide.
    return hashOfFile(path) != stamp.hash;
}

} // namespace platform
