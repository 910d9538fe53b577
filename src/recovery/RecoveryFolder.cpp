#include "recovery/RecoveryFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace recovery {

QString defaultFolder()
{
    // The same data folder as the find history of an installed program, whatever the
    // application's name (tests run under another).
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/Plendor/recovery");
}

bool ensurePrivateFolder(const QString &folder, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (folder.isEmpty())
        return fail(QStringLiteral("没有用户数据文件夹"));
    const QFileInfo info(folder);
    if (!info.exists()) {
        const QString parent = QFileInfo(folder).path();
        if (!QDir().mkpath(parent))
            return fail(QStringLiteral("无法创建文件夹 ") + parent);
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
            return fail(QStringLiteral("无法创建文件夹 %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    } else if (!info.isDir()) {
        return fail(folder + QStringLiteral(" 不是文件夹"));
    }
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return fail(QStringLiteral("文件夹 %1 不可写").arg(folder));
    return true;
}

QString recoveryFileName(const QString &token) { return token + QStringLiteral(".recovery"); }
QString lockFileName(const QString &token) { return token + QStringLiteral(".lock"); }

QString tokenOf(const QString &fileName, const QString &suffix)
{
    static const QRegularExpression kToken(QStringLiteral("^([0-9]{1,10}-[0-9a-f]{8})$"));
    if (!fileName.endsWith(suffix))
        return {};
    const QString token = fileName.chopped(suffix.size());
    return kToken.match(token).hasMatch() ? token : QString();
}

QString newToken()
{
    return QStringLiteral("%1-%2").arg(::getpid()).arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
}

bool OwnerLock::take(const QString &path, QString *error)
{
    release();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        if (error)
            *error = QStringLiteral("locked");
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void OwnerLock::releaseAndRemove()
{
    if (m_fd >= 0)
        ::unlink(QFile::encodeName(m_path).constData());
    release();
}

void OwnerLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

OwnerLock::OwnerLock(OwnerLock &&other) noexcept : m_fd(other.m_fd), m_path(std::move(other.m_path))
{
    other.m_fd = -1;
}

OwnerLock &OwnerLock::operator=(OwnerLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

} // namespace recovery
