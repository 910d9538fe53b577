#include "platform/FileTextReader.h"

#include "platform/LargeBuffer.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr qint64 kBreathEvery = 10'000'001;

// Where the bytes read so far may be cut for decoding: the last place after a byte below 0x40,
// which every code page the editor reads (GBK, Big5, Shift_JIS, UTF-8, windows-1252) keeps for a
// character of its own, and before a byte below 0x80, so that no piece opens with what a decoder
// would take for a byte-order mark. 0 when there is none yet. Places before from were looked at
// when the bytes before it came.
qsizetype lastCut(const QByteArray &bytes, qsizetype from)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype i = bytes.size() - 1; i > 0 && i >= from; --i) {
        if (p[i - 1] < 0x40 && p[i] < 0x80)
            return i;
    }
    return 0;
}

// The rare file with bytes its code page cannot read: decoded whole, so that the text and the
// offset are exactly those of one decodeChecked over the file.
std::optional<platform::FileText> readWhole(const QString &path, const platform::AnsiCodec &codec)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const platform::AnsiCodec::Decoded whole = codec.decodeChecked(bytes);
    return platform::FileText{whole.text.toUtf8(), bytes.indexOf('\0'), whole.firstInvalidByte};
}
} // namespace

namespace platform {

std::optional<FileText> readFileText(const QString &path, const AnsiCodec &codec, qint64 pieceBytes)
{
    // Stateless, so that a lead byte at a piece's end would count as an error instead of vanishing.
    QStringDecoder decoder(codec.name().constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return readWhole(path, codec);
    QStringEncoder toUtf8(QStringConverter::Utf8);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    if (size < 0)
        return std::nullopt;

    FileText result;
    // GBK's two bytes become at most three in UTF-8; other code pages may grow it further.
    result.utf8 = largeBuffer(size + size / 2 + 4 * pieceBytes);
    result.utf8.truncate(0); // the room stays for the pieces
    QByteArray pending; // read, not yet decoded: a piece must end where lastCut allows
    QString wide;       // one piece in UTF-16, its room used again for the next
    qint64 done = 0;
    qint64 sinceBreath = 0;
    while (done < size) {
        const qsizetype had = pending.size();
        const qint64 want = qMin(qMax<qint64>(pieceBytes, 1), size - done);
        pending.resize(had + want);
        const qint64 got = file.read(pending.data() + had, want);
        if (got <= 0)
            return std::nullopt;
        pending.truncate(had + got);
        if (result.firstNulByte < 0) {
            const qsizetype nul = QByteArrayView(pending).sliced(had).indexOf('\0');
            if (nul >= 0)
                result.firstNulByte = done + nul;
        }
        done += got;

        const qsizetype cut = done == size ? pending.size() : lastCut(pending, had);
        if (cut > 0) {
            wide.resize(decoder.requiredSpace(cut));
            const QChar *wideEnd = decoder.appendToBuffer(wide.data(), QByteArrayView(pending).first(cut));
            if (decoder.hasError())
                return readWhole(path, codec);
            const QStringView piece(wide.constData(), wideEnd - wide.constData());
            const qsizetype before = result.utf8.size();
            result.utf8.resize(before + toUtf8.requiredSpace(piece.size()));
            const char *utf8End = toUtf8.appendToBuffer(result.utf8.data() + before, piece);
            result.utf8.truncate(utf8End - result.utf8.constData());
            pending.remove(0, cut);
        }
        if ((sinceBreath += got) >= kBreathEvery) {
            sinceBreath = 0;
            QCoreApplication::processEvents();
        }
    }
    return result;
}

} // namespace platform
