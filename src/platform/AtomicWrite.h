#pragma once
// The one way every file is written, so that a failed or interrupted save never damages what was
// there and a save never turns a file into something else:
// - a regular file is replaced atomically (a temporary beside it, fsync, rename), keeping its
//   permission bits (set-group-id included), and its owner and group where the process may set
//   them;
// - a regular file with several hard links is rewritten in place so that every name sees the new
//   text, after a copy of its old bytes is made beside it (".NAME.plendor.orig"); the copy is
//   dropped once the new bytes are synced and put back on any failure. A copy left by a save
//   that was killed is put back at the next save of that file (or offered when it is opened);
// - a symbolic link is followed: the file it points at is saved and the link stays. A link that
//   points nowhere is refused, as cp does, rather than creating a file at an unexpected place;
// - a device, FIFO or socket is opened and written straight through, every write checked, as
//   "cat > FILE" would: /dev/null stays /dev/null, a FIFO's reader gets the bytes;
// - temporaries of ours for the same file that a killed save left behind are removed.

#include <QByteArray>
#include <QIODevice>
#include <QString>

struct stat;

namespace platform {

// A file's new bytes, written a piece at a time and put in place by commit(), like QSaveFile.
// Without a commit (or after a failed write) the old file is left as it was.
class AtomicFile : public QIODevice {
public:
    explicit AtomicFile(QString path);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Only QIODevice::WriteOnly; false with the cause in errorString().
    bool open(OpenMode mode) override;
    bool commit();
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    enum class Kind { Replace, InPlace, Through };
    bool fail(const QString &why);
    bool prepareRegular(const QByteArray &target, bool exists, const struct stat &existing);
    void abandon();
    bool putOldBytesBack(QString &error);

    QString m_path;
    Kind m_kind = Kind::Replace;
    QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_temp;
    QByteArray m_copy;
    int m_fd = -1;
    int m_copyFd = -1;
    qint64 m_written = 0;
    bool m_failed = false;
};

// False on failure, with the cause (no space left, permission denied, short write, …) in *error.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// The copy of the old text that a killed save of path left, or an empty string.
QString interruptedSaveCopy(const QString &path);
// Puts that copy's bytes back into path (in place, so its links stay) and removes the copy.
bool restoreInterruptedSave(const QString &path, QString *error = nullptr);

// A full disk or a file-size limit must end a write with an error, not end the process.
void ignoreWriteSignals();

} // namespace platform
