#include "platform/AtomicWrite.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// Writes every byte, resuming after interruptions and partial writes.
bool writeAll(int fd, const QByteArray &bytes, QString &error)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = systemError(errno);
            return false;
        }
        if (n == 0) {
            error = QStringLiteral("short write");
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

bool syncAndClose(int fd, QString &error)
{
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL; // EINVAL: a file that cannot be synced
    const int syncErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        error = systemError(synced ? errno : syncErrno);
        return false;
    }
    return true;
}

// Owner and group first: changing them may clear the set-group-id bit that the mode restores.
void copyIdentity(int fd, const struct stat &target)
{
    if (::fchown(fd, target.st_uid, target.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), target.st_gid);
    (void)::fchmod(fd, target.st_mode & 07777);
}

bool writeThrough(const QByteArray &target, const QByteArray &bytes, QString &error)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    if (!writeAll(fd, bytes, error)) {
        ::close(fd);
        return false;
    }
    return syncAndClose(fd, error);
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

// A new name beside the target; created with the mode a new file gets (0666 less the umask).
int createTemporary(const QByteArray &prefix, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + ".plendor-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

void ignoreWriteSignals()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QString cause;
    const auto failed = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    // Through a symbolic link the file it points at is saved; the link stays.
    const QFileInfo info(path);
    const QString resolved = info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray target = QFile::encodeName(resolved);
    const QByteArray folder = QFile::encodeName(QFileInfo(resolved).absolutePath());

    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return failed(systemError(EISDIR));

    QByteArray temp;
    const int fd = createTemporary(folder + "/." + QFile::encodeName(QFileInfo(resolved).fileName()), temp);
    if (fd < 0)
        return failed(systemError(errno));
    if (exists)
        copyIdentity(fd, existing);
    if (!writeAll(fd, bytes, cause) || !syncAndClose(fd, cause)) {
        ::unlink(temp.constData());
        return failed(cause);
    }

    if (exists && existing.st_nlink > 1) {
        // A rename would give this name a new file and leave the other names on the old one.
        if (!writeThrough(target, bytes, cause))
            return failed(cause + QStringLiteral(" (the new text is kept in %1)").arg(QFile::decodeName(temp)));
        ::unlink(temp.constData());
        return true;
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        cause = systemError(errno);
        ::unlink(temp.constData());
        return failed(cause);
    }
    syncFolder(folder);
    return true;
}

} // namespace platform
