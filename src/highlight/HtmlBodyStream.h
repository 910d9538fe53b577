#pragma once
// The spans of an HTML body: one per stretch of equal style, a span staying open across the
// pieces the styles come in. Spaces become "&nbsp;", line ends "<BR>"; the file form also
// escapes "<", ">" and "&", widens tabs, and writes characters in the code page (those it lacks
// as character references); the fragment form keeps UTF-8.

#include "highlight/HtmlExport.h"
#include "highlight/HtmlSink.h"
#include "platform/AnsiCodec.h"

#include <array>
#include <cstdint>
#include <unordered_map>

class HtmlBodyStream {
public:
    HtmlBodyStream(HtmlSink &out, HtmlForm form, int codePage, int tabWidth);

    // Writes the characters of bytes[0, size) that start in [from, to), styles[0] being the style
    // of byte `from`; returns where the last one ended (a character is written whole, in the
    // style of its first byte, so this may be past `to`).
    qsizetype write(const char *bytes, qsizetype size, qsizetype from, qsizetype to, const unsigned char *styles);
    void finish();

    // What a byte becomes when it needs no more than a table: itself or a short entity, padded
    // to 8 bytes so that it is stored in one move. Size 0 for the bytes handled one by one.
    struct Simple {
        char text[8] = {};
        std::uint8_t size = 0;
    };

private:
    // A byte of the line ends, a tab or the lead of a non-ASCII character at p; where the
    // character ended.
    qsizetype special(const char *bytes, qsizetype p, qsizetype size);
    void nonAscii(const char *p, qsizetype length);
    QByteArray encode(const QString &character) const;

    HtmlSink &m_out;
    const bool m_file;
    const platform::AnsiCodec m_codec;
    const int m_tabWidth;
    std::array<Simple, 256> m_simple;
    // "<span class=cN>", and the same after "</span>", padded to 32 bytes.
    std::array<std::array<char, 32>, 256> m_opening{};
    std::array<std::array<char, 32>, 256> m_switch{};
    std::array<std::uint8_t, 256> m_openingSize{};
    std::unordered_map<std::uint32_t, QByteArray> m_encoded;
    int m_column = 0;
    int m_open = -1;
};
