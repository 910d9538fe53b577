#include "platform/AtomicWrite.h"

#include <QSaveFile>

namespace platform {

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // Unbuffered: a buffered flush can lose a short write (file-size limit, full disk) and
    // still let the commit succeed with a truncated file.
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() &&
                    file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

} // namespace platform
