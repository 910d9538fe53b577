#pragma once
// Writes a whole file through a temporary file beside it, so a failed or interrupted save never
// damages the file that was there. The saved file keeps what the user expects of it: the file a
// symbolic link points at is the one replaced, permission bits (set-group-id included), owner and
// group where the process may set them, and every hard link (a file with several names is
// rewritten in place once the new bytes are safely in the temporary).

#include <QByteArray>
#include <QString>

namespace platform {

// False on failure, with the cause (no space left, permission denied, short write, …) in *error.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// A full disk or a file-size limit must end a write with an error, not end the process.
void ignoreWriteSignals();

} // namespace platform
