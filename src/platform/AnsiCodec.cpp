#include "platform/AnsiCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace platform {
namespace {
QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 65001: return "UTF-8";
    case 1252: return "windows-1252";
    case 950: return "Big5";
    case 932: return "Shift_JIS";
    default: return "GBK";
    }
}

bool isEncodable(const QByteArray &name, const QString &piece)
{
    QStringEncoder encoder(name.constData());
    const QByteArray out = encoder(piece);
    return !encoder.hasError() && !(out.contains('?') && !piece.contains(u'?'));
}
} // namespace

AnsiCodec::AnsiCodec(int codePage) : m_codePage(codePage), m_name(codecName(codePage)) {}

QString AnsiCodec::decode(const QByteArray &bytes) const
{
    QStringDecoder decoder(m_name.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder(bytes);
}

AnsiCodec::Decoded AnsiCodec::decodeChecked(const QByteArray &bytes) const
{
    // Stateless, so that a lead byte at the very end counts as an error instead of vanishing.
    QStringDecoder decoder(m_name.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return {QString::fromLatin1(bytes), -1};
    Decoded result{decoder(bytes), -1};
    if (!decoder.hasError())
        return result;
    // Slow path, only for damaged input: the first byte that does not come back unchanged.
    const QByteArray back = encode(result.text);
    const qsizetype common = std::min(back.size(), bytes.size());
    qsizetype i = 0;
    while (i < common && back.at(i) == bytes.at(i))
        ++i;
    result.firstInvalidByte = i < bytes.size() ? i : bytes.size() - 1;
    return result;
}

QByteArray AnsiCodec::encode(const QString &text, bool *lossless) const
{
    QStringEncoder encoder(m_name.constData());
    if (!encoder.isValid()) {
        if (lossless)
            *lossless = false;
        return text.toLatin1();
    }
    const QByteArray out = encoder(text);
    if (lossless)
        *lossless = !encoder.hasError() && (out.count('?') == text.count(u'?'));
    return out;
}

QString AnsiCodec::unencodableSample(const QString &text, int maxChars) const
{
    QString sample;
    int found = 0;
    for (qsizetype i = 0; i < text.size() && found < maxChars; ++i) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString piece = text.mid(i, len);
        if (!isEncodable(m_name, piece)) {
            sample += piece;
            ++found;
        }
        i += len - 1;
    }
    return sample;
}

} // namespace platform
