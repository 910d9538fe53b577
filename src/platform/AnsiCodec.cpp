#include "platform/AnsiCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

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
