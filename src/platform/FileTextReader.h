#pragma once
// A file's text read for the editor: decoded from the file's code page to UTF-8 a piece at a time
// as it is read, so that neither the file's bytes nor a UTF-16 copy ever lie whole in memory, and
// with what the user must be asked about before the text replaces the document's.
#include "platform/AnsiCodec.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

struct FileText {
    QByteArray utf8;
    qsizetype firstNulByte = -1;     // offset in the file, or -1
    qsizetype firstInvalidByte = -1; // offset in the file, or -1
};

// Nothing when the file cannot be read whole. Between large pieces the window's events run.
// pieceBytes is how much is read at a time (smaller only to try the joins between pieces).
std::optional<FileText> readFileText(const QString &path, const AnsiCodec &codec, qint64 pieceBytes = 1 << 20);

} // namespace platform
