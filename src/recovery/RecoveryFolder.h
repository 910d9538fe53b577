#pragma once
// The folder of recovery files, ~/.local/share/Plendor/recovery (following XDG_DATA_HOME),
// readable by its owner only, and the lock by which an editor says it is running: a flock held
// on "<token>.lock" for as long as the editor lives. The system drops the lock when the process
// ends however it ends, so a lock that can be taken belongs to an editor that is gone.

#include <QString>

namespace recovery {

QString defaultFolder();
// Makes the folder (mode 0700) if needed; false with the cause in *error.
bool ensurePrivateFolder(const QString &folder, QString *error = nullptr);

QString recoveryFileName(const QString &token);
QString lockFileName(const QString &token);
// The token of a file name of ours ("<pid>-<8 hex>.recovery" or ".lock"), or an empty string.
QString tokenOf(const QString &fileName, const QString &suffix);
// A fresh token for this process.
QString newToken();

// An exclusive flock on a lock file, released (and the file optionally removed) when dropped.
class OwnerLock {
public:
    OwnerLock() = default;
    // Takes the lock without waiting; false when another holds it or the file cannot be made.
    bool take(const QString &path, QString *error = nullptr);
    // Removes the file while still holding the lock, then lets go.
    void releaseAndRemove();
    void release();
    bool held() const { return m_fd >= 0; }
    ~OwnerLock() { release(); }
    OwnerLock(OwnerLock &&other) noexcept;
    OwnerLock &operator=(OwnerLock &&other) noexcept;
    OwnerLock(const OwnerLock &) = delete;
    OwnerLock &operator=(const OwnerLock &) = delete;

private:
    int m_fd = -1;
    QString m_path;
};

} // namespace recovery
