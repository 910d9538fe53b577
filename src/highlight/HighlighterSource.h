#pragma once
// The readable form of a highlighter file, which people edit and the build compiles:
//
//   [highlighter]                 name, lexer, extensions, keywords0 … keywords7, spare, filepath
//   [style 5]  or  [style 0-127]  bold, italic, underline, visible, eolfilled, fore, back, size,
//                                 font, spare; a range sets every style in it, later sections
//                                 override single fields
//
// Colours are written #RRGGBB; numbers in decimal or 0x hexadecimal. A text runs to the end of
// its line, or stands in double quotes with \\ \" \n \r \t and \xHH (one raw byte of the file).
// Lines starting with # or ; are comments. The source is UTF-8; the file's texts are GBK.

#include "highlight/HighlighterRecord.h"

struct HighlighterSource {
    bool ok = false;
    QString error; // "line N: why"
    HighlighterRecord numbers; // its texts are unused
    HighlighterTextBytes texts;
};

HighlighterSource parseHighlighterSource(QByteArrayView utf8);
// The readable form of a record's numbers and stored texts; parsing it gives them back.
QByteArray highlighterSourceText(const HighlighterRecord &numbers, const HighlighterTextBytes &texts);
