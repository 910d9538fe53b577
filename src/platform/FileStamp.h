#pragma once
// What an editor knows of a file it loaded or saved: its size and a hash of its bytes, so that a
// later save can tell whether another program changed it meanwhile.

#include <QByteArray>
#include <QString>

namespace platform {

struct FileStamp {
    bool known = false;
    bool regular = false; // devices and FIFOs have no content to compare
    qint64 size = 0;
    QByteArray hash;

    // The file as it is now; unknown when it cannot be read.
    static FileStamp of(const QString &path);
    // After a save: the file's size and time, and the hash of the bytes just written.
    static FileStamp afterWrite(const QString &path, QByteArrayView written);
};

// True when the file is no longer what the stamp describes (the file is read for its hash only when
// its size agrees). A file that is gone now, or a stamp that is not known, counts as unchanged:
// there is nothing of someone else's to lose.
bool changedSince(const FileStamp &stamp, const QString &path);

} // namespace platform
