#pragma once
// Every fixed conversion on bytes run with one kernel, so that a vector kernel can be compared
// with the scalar one output by output (the tests and a fuzz target share it).

#include "document/DefineBytes.h"

#include <QByteArray>

struct KernelConversions {
    QByteArray unescaped;
    QByteArray unescapedInPlace;
    QByteArray unescapedInPieces;
    qsizetype readableSize = 0;
    QByteArray escaped;
    QByteArray restored; // the input itself taken for escaped text
    QByteArray stored;   // escaped, then restored
    QByteArray storedInOnePass;
    QByteArray storedGbk;

    // pieceBytes: the reader's piece size, which moves the cuts.
    static KernelConversions of(const QByteArray &bytes, ByteKernel kernel, qsizetype pieceBytes)
    {
        KernelConversions c;
        c.unescaped = unescapeDefineUtf8(bytes, kernel);
        c.unescapedInPlace = bytes;
        unescapeDefineInPlace(c.unescapedInPlace, kernel);
        UnescapingReader reader(bytes, pieceBytes, kernel);
        c.readableSize = reader.readableSize();
        for (QByteArray piece; !(piece = reader.next()).isEmpty();)
            c.unescapedInPieces += piece;
        c.escaped = escapeEntitiesUtf8(bytes, kernel);
        c.restored = bytes;
        restoreTagsUtf8(c.restored, kernel);
        c.stored = c.escaped;
        restoreTagsUtf8(c.stored, kernel);
        c.storedInOnePass = escapeDefineUtf8(bytes, kernel);
        c.storedGbk = escapeDefineGbk(bytes, kernel);
        return c;
    }

    // The first output that differs from the other's, or nullptr when they all agree. The single
    // pass is held against the other's two passes, so that the scalar one is checked too.
    const char *firstDifference(const KernelConversions &o) const
    {
        if (unescaped != o.unescaped) return "unescapeDefineUtf8";
        if (unescapedInPlace != o.unescapedInPlace) return "unescapeDefineInPlace";
        if (unescapedInPieces != o.unescapedInPieces) return "UnescapingReader::next";
        if (readableSize != o.readableSize) return "UnescapingReader::readableSize";
        if (escaped != o.escaped) return "escapeEntitiesUtf8";
        if (restored != o.restored) return "restoreTagsUtf8";
        if (stored != o.stored) return "escapeEntitiesUtf8 and restoreTagsUtf8";
        if (storedInOnePass != o.stored) return "escapeDefineUtf8";
        if (storedGbk != o.storedGbk) return "escapeDefineGbk";
        return nullptr;
    }
};
