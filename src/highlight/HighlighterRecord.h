#pragma once
// One highlighter as a highlighter file stores it: per style number 0 to 127 the attributes the
// component takes, keyword lists 0 to 7, the extensions that select it, its name and lexer.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>

constexpr int kHighlighterStyles = 128;
constexpr int kHighlighterKeywordLists = 8;

struct HighlighterRecord {
    using Numbers = std::array<std::int32_t, kHighlighterStyles>;
    using Texts = std::array<QString, kHighlighterStyles>;

    Numbers Bold{};
    Numbers Italic{};
    Numbers Underline{};
    Numbers Visible{};
    Numbers EOLFilled{};
    Numbers Fore{}; // 0x00BBGGRR
    Numbers Back{};
    Numbers Size{}; // points
    Texts Font;     // empty: the face is left as it is
    Texts SpareStyleTexts;
    std::array<QString, kHighlighterKeywordLists> Keywords; // empty: not sent
    QString Extensions; // lower case, without dots; matched as a substring
    QString SpareText;
    QString Name;
    std::int32_t Lexer = 0;
    QString FilePath; // the stored value; replaced by the path a loaded record came from

    friend bool operator==(const HighlighterRecord &, const HighlighterRecord &) = default;
};

// The longest record a file can hold: the integers and every text at its largest byte count.
constexpr qsizetype kMaxHighlighterRecordBytes =
    8 * kHighlighterStyles * 4 + (2 * kHighlighterStyles + kHighlighterKeywordLists + 4) * (2 + 0xFFFF) + 4;

// Reads one record from the start of a file's bytes (GBK texts). Fields past the end of the
// bytes read as zero or empty; a text whose count runs past the end keeps the bytes there are.
HighlighterRecord readHighlighterRecord(QByteArrayView bytes);

// The bytes of a file holding the record; texts already in the ANSI code page. Used by the
// highlighter compiler, which also reports texts too long for their 2-byte count.
struct HighlighterTextBytes {
    std::array<QByteArray, kHighlighterStyles> Font;
    std::array<QByteArray, kHighlighterStyles> SpareStyleTexts;
    std::array<QByteArray, kHighlighterKeywordLists> Keywords;
    QByteArray Extensions;
    QByteArray SpareText;
    QByteArray Name;
    QByteArray FilePath;
};
// The record's numbers and its texts as stored (before conversion from the code page).
void readHighlighterRaw(QByteArrayView bytes, HighlighterRecord &numbers, HighlighterTextBytes &texts);
// False when a text is longer than 65,535 bytes.
bool writeHighlighterRecord(const HighlighterRecord &numbers, const HighlighterTextBytes &texts, QByteArray &out);
