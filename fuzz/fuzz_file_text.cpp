// A file's text read a piece at a time for the editor: whatever the bytes and wherever the
// pieces join, the same text, the same first unreadable byte and the same first NUL as one
// decoding of the whole file.

#include "FuzzSupport.h"
#include "platform/AnsiCodec.h"
#include "platform/FileTextReader.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.xml"));
    const qint64 piece = 1 + data[0] % 64;
    const QByteArray bytes = fuzz::bytes(data + 1, size - 1);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return 0;
    }
    const platform::AnsiCodec codec;
    const std::optional<platform::FileText> read = platform::readFileText(path, codec, piece);
    fuzz::expect("a readable file is read", read.has_value());
    const platform::AnsiCodec::Decoded whole = codec.decodeChecked(bytes);
    fuzz::expectEqual("the text is the whole file's decoding", read->utf8, whole.text.toUtf8());
    fuzz::expect("the first unreadable byte is the whole decoding's",
                 read->firstInvalidByte == whole.firstInvalidByte);
    fuzz::expect("the first NUL is found where it lies", read->firstNulByte == bytes.indexOf('\0'));
    return 0;
}
