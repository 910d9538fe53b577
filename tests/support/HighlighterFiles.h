#pragma once
// Highlighter files written byte by byte, as a tool outside the program would write them:
// 8 × 128 little-endian integers, then the texts (2-byte count + GBK bytes) and the lexer.

#include "support/TestFiles.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>

struct HighlighterSpec {
    QString name = QStringLiteral("SQL");
    QString extensions = QStringLiteral("xml sql txt");
    std::int32_t lexer = 7;
    std::map<int, QString> keywords;
    // Per style: unset styles are visible black 10-point text on white in the face given below.
    std::map<int, std::int32_t> fore, back, bold, italic, underline, size, visible, eolFilled;
    std::map<int, QString> font;
    QString defaultFont = QStringLiteral("DejaVu Sans Mono");
    QString filePath = QStringLiteral("C:\\old\\path.bin");
};

inline HighlighterSpec named(const char *name, const char *extensions = "xml sql txt")
{
    HighlighterSpec spec;
    spec.name = QString::fromUtf8(name);
    spec.extensions = QString::fromUtf8(extensions);
    return spec;
}

inline void putInt(QByteArray &out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
    out.append(static_cast<char>((v >> 16) & 0xFF));
    out.append(static_cast<char>((v >> 24) & 0xFF));
}

inline void putText(QByteArray &out, const QByteArray &bytes)
{
    out.append(static_cast<char>(bytes.size() & 0xFF));
    out.append(static_cast<char>((bytes.size() >> 8) & 0xFF));
    out.append(bytes);
}

inline QByteArray highlighterBytes(const HighlighterSpec &spec)
{
    QByteArray out;
    const auto group = [&out](const std::map<int, std::int32_t> &values, std::int32_t otherwise) {
        for (int s = 0; s < 128; ++s) {
            const auto it = values.find(s);
            putInt(out, it == values.end() ? otherwise : it->second);
        }
    };
    group(spec.bold, 0);
    group(spec.italic, 0);
    group(spec.underline, 0);
    group(spec.visible, 1);
    group(spec.eolFilled, 0);
    group(spec.fore, 0x000000);
    group(spec.back, 0xFFFFFF);
    group(spec.size, 10);
    for (int s = 0; s < 128; ++s) {
        const auto it = spec.font.find(s);
        putText(out, gbk(it == spec.font.end() ? spec.defaultFont : it->second));
    }
    for (int s = 0; s < 128; ++s)
        putText(out, QByteArray());
    for (int k = 0; k < 8; ++k) {
        const auto it = spec.keywords.find(k);
        putText(out, it == spec.keywords.end() ? QByteArray() : gbk(it->second));
    }
    putText(out, gbk(spec.extensions));
    putText(out, "spare");
    putText(out, gbk(spec.name));
    putInt(out, spec.lexer);
    putText(out, gbk(spec.filePath));
    return out;
}
