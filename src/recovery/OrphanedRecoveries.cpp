#include "recovery/OrphanedRecoveries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace recovery {

void OrphanedRecovery::remove()
{
    QFile::remove(path);
    lock.releaseAndRemove();
}

namespace {
const QString kRecoverySuffix = QStringLiteral(".recovery");
const QString kLockSuffix = QStringLiteral(".lock");

// A write that a killed editor left half done: ".<token>.recovery.plendor-…".
bool isUnfinishedWrite(const QString &name)
{
    if (!name.startsWith(QLatin1Char('.')))
        return false;
    const qsizetype mark = name.indexOf(QStringLiteral(".plendor-"));
    return mark > 0 && !tokenOf(name.mid(1, mark - 1), kRecoverySuffix).isEmpty();
}

// The token whose unfinished writes may go: its lock could be taken, so no editor is writing.
QString tokenOfUnfinishedWrite(const QString &name)
{
    return tokenOf(name.mid(1, name.indexOf(QStringLiteral(".plendor-")) - 1), kRecoverySuffix);
}
} // namespace

std::vector<OrphanedRecovery> claimOrphans(const QString &folder, const std::function<void(const QString &)> &log)
{
    std::vector<OrphanedRecovery> found;
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (!tokenOf(name, kLockSuffix).isEmpty())
            continue; // looked at with its recovery file, or below
        if (isUnfinishedWrite(name)) {
            OwnerLock lock;
            if (lock.take(dir.filePath(lockFileName(tokenOfUnfinishedWrite(name))))) {
                QFile::remove(entry.filePath());
                if (!QFileInfo::exists(dir.filePath(recoveryFileName(tokenOfUnfinishedWrite(name)))))
                    lock.releaseAndRemove();
            }
            continue;
        }
        const QString token = tokenOf(name, kRecoverySuffix);
        if (token.isEmpty() || entry.isSymLink() || !entry.isFile()) {
            log(QStringLiteral("recovery: ignored %1: not a recovery file").arg(entry.filePath()));
            continue;
        }
        OrphanedRecovery orphan;
        orphan.path = entry.filePath();
        if (!orphan.lock.take(dir.filePath(lockFileName(token))))
            continue; // its editor is running (or another is offering it now)
        QFile file(orphan.path);
        if (!file.exists()) { // taken and dealt with by another editor meanwhile
            orphan.lock.releaseAndRemove();
            continue;
        }
        QString why;
        std::optional<RecoveryRecord> record;
        if (file.size() > kLargestRecoveryFile)
            why = QStringLiteral("larger than any recovery file");
        else if (!file.open(QIODevice::ReadOnly))
            why = file.errorString();
        else if (record = parseRecovery(file.readAll(), &why); record && record->owner != token) {
            why = QStringLiteral("written under another editor's name");
            record.reset();
        }
        if (!record) {
            log(QStringLiteral("recovery: ignored %1: %2").arg(orphan.path, why));
            continue; // the lock goes; the file stays for whoever wants to look at it
        }
        orphan.record = std::move(*record);
        found.push_back(std::move(orphan));
    }
    // Locks of editors that ended without a recovery file (killed while the text was saved).
    for (const QFileInfo &entry : entries) {
        const QString token = tokenOf(entry.fileName(), kLockSuffix);
        if (token.isEmpty() || QFileInfo::exists(dir.filePath(recoveryFileName(token))))
            continue;
        OwnerLock lock;
        if (lock.take(entry.filePath()) && !QFileInfo::exists(dir.filePath(recoveryFileName(token))))
            lock.releaseAndRemove();
    }
    std::sort(found.begin(), found.end(), [](const OrphanedRecovery &a, const OrphanedRecovery &b) {
        return a.record.writtenAt > b.record.writtenAt;
    });
    return found;
}

} // namespace recovery
