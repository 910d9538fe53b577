#include "platform/AtomicWrite.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// Writes every byte, resuming after interruptions and partial writes.
bool writeAll(int fd, const char *p, qint64 left, QString &error)
{
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

// EINVAL: a device or pipe, which has nothing to sync.
bool syncFile(int fd, QString &error)
{
    if (::fsync(fd) == 0 || errno == EINVAL)
        return true;
    error = systemError(errno);
    return false;
}

bool syncAndClose(int fd, QString &error)
{
    const bool synced = syncFile(fd, error);
    if (::close(fd) != 0 && synced) {
        error = systemError(errno);
        return false;
    }
    return synced;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

// Owner and group first: changing them may clear the set-group-id bit that the mode restores.
void copyIdentity(int fd, const struct stat &target)
{
    if (::fchown(fd, target.st_uid, target.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), target.st_gid);
    (void)::fchmod(fd, target.st_mode & 07777);
}

// Makes to's contents from's, from the start, and cuts off what is beyond.
bool copyContents(int from, int to, QString &error)
{
    QByteArray piece(1 << 16, Qt::Uninitialized);
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(from, piece.data(), static_cast<size_t>(piece.size()), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = systemError(errno);
            return false;
        }
        if (n == 0)
            break;
        if (::lseek(to, at, SEEK_SET) < 0 || !writeAll(to, piece.constData(), n, error)) {
            if (error.isEmpty())
                error = systemError(errno);
            return false;
        }
        at += n;
    }
    if (::ftruncate(to, at) != 0) {
        error = systemError(errno);
        return false;
    }
    return syncFile(to, error);
}

// A lock that a running save holds on its temporary and its copy of the old bytes; a killed
// save's lock is gone, which is how its leftovers are told from a save under way.
bool lockNow(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

QByteArray temporaryPrefix(const QByteArray &name) { return "." + name + ".plendor-"; }
QByteArray copyName(const QByteArray &name) { return "." + name + ".plendor.orig"; }

// A new name beside the target; created with the mode a new file gets (0666 less the umask).
int createTemporary(const QByteArray &prefix, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            (void)lockNow(fd);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// Temporaries of ours for this name that no running save holds: what a killed save left.
void removeStaleTemporaries(const QByteArray &folder, const QByteArray &name)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const QByteArray prefix = temporaryPrefix(name);
    while (const dirent *entry = ::readdir(dir)) {
        if (!QByteArrayView(entry->d_name).startsWith(prefix))
            continue;
        const QByteArray path = folder + '/' + entry->d_name;
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (lockNow(fd))
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

// Where a path's bytes are saved: the file a symbolic link points at, else the path itself.
struct Place {
    QByteArray target;
    QByteArray folder;
    QByteArray name;
    bool exists = false;
    struct stat st {};
    QString error;
};

Place placeOf(const QString &path)
{
    Place place;
    const QByteArray encoded = QFile::encodeName(path);
    struct stat link {};
    const bool isLink = ::lstat(encoded.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    if (::stat(encoded.constData(), &place.st) == 0) {
        place.exists = true;
    } else if (errno == ENOENT && isLink) {
        place.error = QStringLiteral("%1 is a symbolic link to a file that does not exist; not writing through it")
                          .arg(path);
        return place;
    } else if (errno != ENOENT) {
        place.error = systemError(errno);
        return place;
    }
    const QFileInfo info(path);
    const QString resolved = isLink ? info.canonicalFilePath() : info.absoluteFilePath();
    place.target = place.exists && !S_ISREG(place.st.st_mode) ? encoded : QFile::encodeName(resolved);
    place.folder = QFile::encodeName(QFileInfo(resolved).absolutePath());
    place.name = QFile::encodeName(QFileInfo(resolved).fileName());
    return place;
}

// Puts the copy's bytes back into the target in place and drops the copy.
bool restoreFromCopy(const QByteArray &copy, const QByteArray &target, const QByteArray &folder, QString &error)
{
    const int from = ::open(copy.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (from < 0) {
        error = systemError(errno);
        return false;
    }
    if (!lockNow(from)) {
        ::close(from);
        error = QStringLiteral("another save of this file is under way");
        return false;
    }
    const int to = ::open(target.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    bool ok = to >= 0;
    if (!ok)
        error = systemError(errno);
    else
        ok = copyContents(from, to, error) && syncAndClose(to, error);
    if (!ok && to >= 0)
        ::close(to);
    if (ok) {
        ::unlink(copy.constData());
        syncFolder(folder);
    }
    ::close(from);
    return ok;
}

} // namespace

AtomicFile::AtomicFile(QString path) : m_path(std::move(path)) {}

AtomicFile::~AtomicFile()
{
    if (isOpen())
        abandon();
}

bool AtomicFile::fail(const QString &why)
{
    setErrorString(why);
    return false;
}

bool AtomicFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly))
        return fail(QStringLiteral("a file to write is opened write-only, once"));
    m_failed = false;
    m_written = 0;
    const Place place = placeOf(m_path);
    if (!place.error.isEmpty())
        return fail(place.error);
    if (place.exists && S_ISDIR(place.st.st_mode))
        return fail(systemError(EISDIR));
    m_target = place.target;
    m_folder = place.folder;

    if (place.exists && !S_ISREG(place.st.st_mode)) {
        // Not truncated on open: a device or FIFO ignores it, and a file that took its place
        // since the look above must not lose its bytes before the look below.
        m_fd = ::open(m_target.constData(), O_WRONLY | O_CLOEXEC);
        if (m_fd < 0)
            return fail(systemError(errno));
        struct stat opened {};
        if (::fstat(m_fd, &opened) != 0 || S_ISREG(opened.st_mode)) {
            ::close(m_fd);
            m_fd = -1;
            return fail(QStringLiteral("%1 changed while it was being opened").arg(m_path));
        }
        m_kind = Kind::Through;
        return QIODevice::open(WriteOnly | Unbuffered);
    }
    if (!prepareRegular(place.target, place.exists, place.st))
        return false;
    return QIODevice::open(WriteOnly | Unbuffered);
}

bool AtomicFile::prepareRegular(const QByteArray &target, bool exists, const struct stat &existing)
{
    const QByteArray placeName = QFile::encodeName(QFileInfo(QFile::decodeName(target)).fileName());
    removeStaleTemporaries(m_folder, placeName);
    // A killed save's copy holds the text from before it: back in place first, never lost.
    const QByteArray copy = m_folder + '/' + copyName(placeName);
    struct stat copyStat {};
    if (::lstat(copy.constData(), &copyStat) == 0) {
        if (!S_ISREG(copyStat.st_mode) || copyStat.st_uid != ::geteuid())
            return fail(QStringLiteral("%1 is in the way of the copy of the old text and is not ours")
                            .arg(QFile::decodeName(copy)));
        QString error;
        if (!restoreFromCopy(copy, target, m_folder, error))
            return fail(QStringLiteral("an interrupted save left the old text in %1, which could not be put back: %2")
                            .arg(QFile::decodeName(copy), error));
    }

    if (exists && existing.st_nlink > 1) {
        // A rename would give this name a new file and leave the other names on the old one.
        m_copy = copy;
        m_copyFd = ::open(copy.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (m_copyFd < 0)
            return fail(QStringLiteral("cannot keep a copy of the old text: %1").arg(systemError(errno)));
        (void)lockNow(m_copyFd);
        QString error;
        const int old = ::open(target.constData(), O_RDONLY | O_CLOEXEC);
        const bool copied = old >= 0 && copyContents(old, m_copyFd, error);
        if (old < 0)
            error = systemError(errno);
        else
            ::close(old);
        if (copied)
            syncFolder(m_folder);
        m_fd = copied ? ::open(target.constData(), O_WRONLY | O_CLOEXEC) : -1;
        if (copied && m_fd < 0)
            error = systemError(errno);
        if (m_fd < 0) {
            ::unlink(copy.constData());
            ::close(m_copyFd);
            m_copyFd = -1;
            return fail(copied ? error : QStringLiteral("cannot keep a copy of the old text: %1").arg(error));
        }
        m_kind = Kind::InPlace;
        return true;
    }
    m_fd = createTemporary(m_folder + '/' + temporaryPrefix(placeName), m_temp);
    if (m_fd < 0)
        return fail(systemError(errno));
    if (exists)
        copyIdentity(m_fd, existing);
    m_kind = Kind::Replace;
    return true;
}

qint64 AtomicFile::writeData(const char *data, qint64 length)
{
    if (m_failed || m_fd < 0)
        return -1;
    QString error;
    if (!writeAll(m_fd, data, length, error)) {
        m_failed = true;
        setErrorString(error);
        return -1;
    }
    m_written += length;
    return length;
}

bool AtomicFile::putOldBytesBack(QString &error)
{
    if (m_copyFd < 0)
        return true;
    const int to = m_fd >= 0 ? m_fd : ::open(m_target.constData(), O_WRONLY | O_CLOEXEC);
    const bool restored = to >= 0 && copyContents(m_copyFd, to, error);
    if (to < 0)
        error = systemError(errno);
    if (to >= 0 && to != m_fd)
        ::close(to);
    if (restored) {
        ::unlink(m_copy.constData());
        syncFolder(m_folder);
    }
    ::close(m_copyFd);
    m_copyFd = -1;
    return restored;
}

void AtomicFile::abandon()
{
    QString cause = errorString();
    if (m_kind == Kind::InPlace) {
        QString error;
        if (putOldBytesBack(error))
            cause += QStringLiteral("; the old text was put back");
        else
            cause += QStringLiteral("; the old text is kept in %1 (%2)").arg(QFile::decodeName(m_copy), error);
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (m_kind == Kind::Replace && !m_temp.isEmpty())
        ::unlink(m_temp.constData());
    m_temp.clear();
    QIODevice::close();
    setErrorString(cause);
}

bool AtomicFile::commit()
{
    if (!isOpen())
        return fail(QStringLiteral("nothing to commit"));
    if (m_failed) {
        abandon();
        return false;
    }
    QString error;
    switch (m_kind) {
    case Kind::Through: {
        const bool ok = syncAndClose(m_fd, error);
        m_fd = -1;
        QIODevice::close();
        return ok || fail(error);
    }
    case Kind::InPlace:
        if (::ftruncate(m_fd, m_written) != 0 || !syncFile(m_fd, error)) {
            setErrorString(error.isEmpty() ? systemError(errno) : error);
            abandon();
            return false;
        }
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_copy.constData());
        ::close(m_copyFd);
        m_copyFd = -1;
        syncFolder(m_folder);
        QIODevice::close();
        return true;
    case Kind::Replace:
        break;
    }
    // Renamed while still open and locked, so that no other save takes it for a leftover.
    if (!syncFile(m_fd, error) || ::rename(m_temp.constData(), m_target.constData()) != 0) {
        setErrorString(error.isEmpty() ? systemError(errno) : error);
        abandon();
        return false;
    }
    m_temp.clear();
    if (::close(std::exchange(m_fd, -1)) != 0) {
        QIODevice::close();
        return fail(systemError(errno));
    }
    syncFolder(m_folder);
    QIODevice::close();
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    AtomicFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        const bool written = file.write(bytes) == bytes.size();
        ok = file.commit() && written; // a failed write is abandoned by the commit, the old file put back
    }
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

QString interruptedSaveCopy(const QString &path)
{
    const Place place = placeOf(path);
    if (!place.error.isEmpty() || (place.exists && !S_ISREG(place.st.st_mode)))
        return {};
    const QByteArray copy = place.folder + '/' + copyName(place.name);
    const int fd = ::open(copy.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return {};
    }
    const bool stale = lockNow(fd); // a save under way holds it
    ::close(fd);
    return stale ? QFile::decodeName(copy) : QString();
}

bool restoreInterruptedSave(const QString &path, QString *error)
{
    const QString copy = interruptedSaveCopy(path);
    if (copy.isEmpty())
        return true;
    const Place place = placeOf(path);
    QString cause;
    if (restoreFromCopy(QFile::encodeName(copy), place.target, place.folder, cause))
        return true;
    if (error)
        *error = cause;
    return false;
}

void ignoreWriteSignals()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace platform
