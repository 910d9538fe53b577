#include "document/DefineBytes.h"

#include "document/ByteLoops.h"
#include "document/GbkBytes.h"
#include "platform/LargeBuffer.h"

QByteArray unescapeDefineUtf8(const QByteArray &utf8, ByteKernel kernel)
{
    QByteArray out = platform::largeBuffer(utf8.size());
    const char *const in = utf8.constData();
    const char *const o = byteLoops(kernel).unescapeApart(in, in + utf8.size(), out.data());
    out.truncate(o - out.constData());
    return out;
}

void unescapeDefineInPlace(QByteArray &text, ByteKernel kernel)
{
    if (!text.contains('&'))
        return;
    char *const base = text.data();
    const char *const o = byteLoops(kernel).unescapeInPlace(base, base + text.size());
    text.truncate(o - base);
}

UnescapingReader::UnescapingReader(QByteArrayView stored, qsizetype pieceBytes, ByteKernel kernel)
    : m_stored(stored), m_rest(stored), m_pieceBytes(qMax<qsizetype>(1, pieceBytes)), m_kernel(kernel)
{
}

qsizetype UnescapingReader::readableSize() const
{
    const char *p = m_stored.data();
    const char *const end = p + m_stored.size();
    qsizetype size = 0;
    while (p < end) {
        const char *amp = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(end - p)));
        if (!amp)
            return size + (end - p);
        char entity;
        char *o = &entity;
        size += amp - p + 1;
        p = entity_steps::unescapeAt(amp, end, o);
    }
    return size;
}

QByteArray UnescapingReader::next()
{
    qsizetype length = m_rest.size();
    if (length > m_pieceBytes) {
        qsizetype lineEnd = m_rest.first(m_pieceBytes).lastIndexOf('\n');
        if (lineEnd < 0)
            lineEnd = m_rest.indexOf('\n', m_pieceBytes);
        if (lineEnd >= 0)
            length = lineEnd + 1;
    }
    const QByteArrayView piece = m_rest.first(length);
    m_rest = m_rest.sliced(length);
    QByteArray readable(piece.size(), Qt::Uninitialized);
    const char *const o = byteLoops(m_kernel).unescapeApart(piece.data(), piece.data() + piece.size(), readable.data());
    readable.truncate(o - readable.constData());
    return readable;
}

namespace {

// The escape's output for either loop, in a buffer with room for every entity; the single pass's
// kept characters leave some of it unused. Text without any of the four comes back shared.
using EscapeLoop = char *(*)(const char *p, const char *end, char *o, const char *outEnd);
QByteArray escapedWith(const QByteArray &utf8, const ByteLoops &loops, EscapeLoop ByteLoops::*loop)
{
    const char *const in = utf8.constData();
    const char *const end = in + utf8.size();
    const qsizetype extra = loops.entityGrowth(in, end);
    if (extra == 0)
        return utf8;
    QByteArray out = platform::largeBuffer(utf8.size() + extra);
    const char *const o = (loops.*loop)(in, end, out.data(), out.constData() + out.size());
    out.truncate(o - out.constData());
    return out;
}

} // namespace

QByteArray escapeEntitiesUtf8(const QByteArray &utf8, ByteKernel kernel)
{
    return escapedWith(utf8, byteLoops(kernel), &ByteLoops::escape);
}

QByteArray escapeDefineUtf8(const QByteArray &utf8, ByteKernel kernel)
{
    return escapedWith(utf8, byteLoops(kernel), &ByteLoops::escapeDefine);
}

namespace {

void restoreTags(QByteArray &text, entity_steps::StartsCharacter startsCharacter, ByteKernel kernel)
{
    if (!text.contains('&'))
        return;
    char *const base = text.data();
    const char *const end = byteLoops(kernel).restoreTags({base, base, base + text.size(), base, startsCharacter});
    text.truncate(end - base);
}

} // namespace

void restoreTagsUtf8(QByteArray &escaped, ByteKernel kernel)
{
    // A UTF-8 character never holds a byte below 0x80 after its first.
    restoreTags(escaped, [](const char *, const char *) { return true; }, kernel);
}

QByteArray escapeDefineGbk(const QByteArray &gbk, ByteKernel kernel)
{
    // The four characters are single bytes below 0x40 in GBK as in UTF-8.
    QByteArray stored = escapeEntitiesUtf8(gbk, kernel);
    restoreTags(stored, gbkCharacterStartsAt, kernel);
    return stored;
}
