#pragma once
// Writes a whole file through a temporary file beside it that replaces the target only when
// every byte is on disk, so a failed or interrupted save never damages the file that was there.

#include <QByteArray>
#include <QString>

namespace platform {

// False on failure, with the system's description in *error.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace platform
