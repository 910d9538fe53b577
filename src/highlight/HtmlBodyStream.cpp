#include "highlight/HtmlBodyStream.h"

#include <algorithm>
#include <cstring>

namespace {

int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1; // a stray byte stands for itself
}

// Bytes written in one stretch through one pointer: at most 40 bytes of room each (a change of
// style copied as 32, then a piece copied as 8).
constexpr qsizetype kStretch = 4096;

} // namespace

HtmlBodyStream::HtmlBodyStream(HtmlSink &out, HtmlForm form, int codePage, int tabWidth)
    : m_out(out), m_file(form == HtmlForm::File), m_codec(codePage), m_tabWidth(qMax(1, tabWidth))
{
    for (int c = 0; c < 0x80; ++c) {
        m_simple[c].text[0] = static_cast<char>(c);
        m_simple[c].size = 1;
    }
    const auto replace = [this](char c, QByteArrayView with) {
        Simple &s = m_simple[static_cast<unsigned char>(c)];
        std::memcpy(s.text, with.data(), static_cast<size_t>(with.size()));
        s.size = static_cast<std::uint8_t>(with.size());
    };
    replace(' ', "&nbsp;");
    if (m_file) {
        replace('<', "&LT;");
        replace('>', "&GT;");
        replace('&', "&amp;");
        m_simple['\t'].size = 0;
    }
    m_simple['\r'].size = 0;
    m_simple['\n'].size = 0;
    for (int s = 0; s < 256; ++s) {
        const QByteArray opening = "<span class=c" + QByteArray::number(s) + ">";
        const QByteArray change = "</span>" + opening;
        std::memcpy(m_opening[s].data(), opening.constData(), static_cast<size_t>(opening.size()));
        std::memcpy(m_switch[s].data(), change.constData(), static_cast<size_t>(change.size()));
        m_openingSize[s] = static_cast<std::uint8_t>(opening.size());
    }
}

qsizetype HtmlBodyStream::write(const char *bytes, qsizetype size, qsizetype from, qsizetype to,
                                const unsigned char *styles)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes);
    const Simple *const table = m_simple.data();
    qsizetype p = from;
    while (p < to) {
        // A stretch through one pointer, with room for the most a byte can become here: a change
        // of style (copied as 32 bytes) and an entity (copied as 8).
        const qsizetype stop = std::min(to, p + kStretch);
        char *const start = m_out.room((stop - p) * (32 + 8));
        char *at = start;
        const qsizetype began = p;
        int open = m_open; // a local: stores through a char pointer would reload a member
        while (p < stop) {
            const int style = styles[p - from];
            if (style != open) {
                std::memcpy(at, open >= 0 ? m_switch[style].data() : m_opening[style].data(), 32);
                at += m_openingSize[style] + (open >= 0 ? 7 : 0);
                open = style;
            }
            const Simple &s = table[u[p]];
            if (s.size == 0)
                break;
            std::memcpy(at, s.text, 8);
            at += s.size;
            ++p;
        }
        m_open = open;
        m_out.advance(at - start);
        m_column += static_cast<int>(p - began);
        if (p < stop)
            p = special(bytes, p, size);
    }
    return p;
}

qsizetype HtmlBodyStream::special(const char *bytes, qsizetype p, qsizetype size)
{
    const auto c = static_cast<unsigned char>(bytes[p]);
    switch (c) {
    case '\r':
        m_out.put("<BR>", 4);
        m_column = 0;
        return p + 1;
    case '\n':
        // A bare line feed is a line end too, or a file with such line ends shows as one line.
        if (m_file && (p == 0 || bytes[p - 1] != '\r'))
            m_out.put("<BR>", 4);
        m_out.put("\n", 1);
        m_column = 0;
        return p + 1;
    case '\t': {
        const int spaces = m_tabWidth - m_column % m_tabWidth;
        char *at = m_out.room(6 * spaces);
        for (int i = 0; i < spaces; ++i)
            std::memcpy(at + 6 * i, "&nbsp;", 6);
        m_out.advance(6 * spaces);
        m_column += spaces;
        return p + 1;
    }
    default: {
        const qsizetype length = std::min<qsizetype>(utf8Length(c), size - p);
        nonAscii(bytes + p, length);
        m_column += 2;
        return p + length;
    }
    }
}

void HtmlBodyStream::nonAscii(const char *p, qsizetype length)
{
    if (!m_file) {
        m_out.put(p, length);
        return;
    }
    std::uint32_t key = 0;
    for (qsizetype i = 0; i < length; ++i)
        key = (key << 8) | static_cast<unsigned char>(p[i]);
    auto it = m_encoded.find(key);
    if (it == m_encoded.end())
        it = m_encoded.emplace(key, encode(QString::fromUtf8(p, length))).first;
    m_out.put(it->second);
}

// Characters the code page lacks become character references, so that nothing is lost.
QByteArray HtmlBodyStream::encode(const QString &character) const
{
    bool lossless = true;
    const QByteArray bytes = m_codec.encode(character, &lossless);
    if (lossless)
        return bytes;
    QByteArray references;
    for (const char32_t u : character.toUcs4())
        references += "&#x" + QByteArray::number(static_cast<uint>(u), 16).toUpper() + ';';
    return references;
}

void HtmlBodyStream::finish()
{
    if (m_open >= 0)
        m_out.put("</span>", 7);
    m_open = -1;
}
