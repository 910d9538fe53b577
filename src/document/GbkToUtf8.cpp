#include "document/GbkToUtf8.h"

#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"

#include <cstring>

namespace {

} // namespace

QStringDecoder GbkToUtf8::newDecoder()
{
    return QStringDecoder(platform::AnsiCodec(936).name().constData(), QStringConverter::Flag::Stateless);
}

GbkToUtf8::GbkToUtf8() : m_decoder(newDecoder()), m_known(std::size_t(1) << 16, 0) {}

std::uint32_t GbkToUtf8::known(unsigned key, QByteArrayView character)
{
    std::uint32_t &entry = m_known[key];
    if (entry != 0)
        return entry;
    const QByteArray utf8 = QString(m_decoder.decode(character)).toUtf8();
    // A character the converter cannot read, or one longer than three bytes, is never stored:
    // the caller then decodes the whole text the usual way.
    if (m_decoder.hasError() || utf8.isEmpty() || utf8.size() > 3) {
        // A fresh converter: after an error the old one may still hold the bytes it could not
        // read and put them before the next character.
        m_decoder = newDecoder();
        return 0;
    }
    std::uint32_t packed = static_cast<std::uint32_t>(utf8.size()) << 24;
    for (qsizetype i = 0; i < utf8.size(); ++i)
        packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[i])) << (8 * i);
    entry = packed;
    return entry;
}

bool GbkToUtf8::append(QByteArrayView gbk, QByteArray &out)
{
    if (!m_decoder.isValid())
        return false;
    const qsizetype had = out.size();
    // A character of one or two bytes becomes at most three of UTF-8 ("€" from 0x80 is three);
    // each is copied as three bytes, the spare ones written over by the next.
    out.resize(had + gbk.size() * 3 + 3);
    const auto *p = reinterpret_cast<const unsigned char *>(gbk.data());
    const qsizetype n = gbk.size();
    char *to = out.data() + had;
    qsizetype i = 0;
    while (i < n) {
        if (i + 8 <= n && eightAsciiBytes(p + i)) {
            std::memcpy(to, p + i, 8);
            to += 8;
            i += 8;
            continue;
        }
        if (p[i] < 0x80) {
            *to++ = static_cast<char>(p[i++]);
            continue;
        }
        const qsizetype length = isGbkLeadByte(p[i]) && i + 1 < n ? 2 : 1;
        const unsigned key = length == 2 ? (unsigned(p[i]) << 8) | p[i + 1] : p[i];
        const std::uint32_t utf8 = known(key, gbk.sliced(i, length));
        if (utf8 == 0) {
            out.truncate(had);
            return false;
        }
        to[0] = static_cast<char>(utf8);
        to[1] = static_cast<char>(utf8 >> 8);
        to[2] = static_cast<char>(utf8 >> 16);
        to += utf8 >> 24;
        i += length;
    }
    out.truncate(to - out.constData());
    return true;
}
