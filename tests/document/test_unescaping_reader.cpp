// The readable form given in pieces: together they are the whole conversion, whatever the
// piece size, and the counted size is theirs.
#include "document/DefineEscaping.h"
#include "support/GbkSamples.h"

#include <gtest/gtest.h>

namespace {

QByteArray readAll(UnescapingReader &reader, int *pieces = nullptr)
{
    QByteArray all;
    for (QByteArray piece = reader.next(); !piece.isEmpty(); piece = reader.next()) {
        all += piece;
        if (pieces)
            ++*pieces;
    }
    return all;
}

TEST(UnescapingReader, PiecesMakeTheWholeConversion)
{
    GbkSamples samples(3);
    for (int i = 0; i < 400; ++i) {
        const QByteArray stored = samples.next(60);
        const QByteArray whole = unescapeDefineUtf8(stored);
        for (const qsizetype pieceBytes : {1, 2, 5, 9, 64, 1 << 20}) {
            UnescapingReader reader(stored, pieceBytes);
            ASSERT_EQ(reader.readableSize(), whole.size()) << stored.toHex(' ').toStdString();
            ASSERT_EQ(readAll(reader), whole) << pieceBytes << ": " << stored.toHex(' ').toStdString();
        }
    }
}

TEST(UnescapingReader, PiecesEndAfterLineEnds)
{
    const QByteArray stored("a &amp;lt; b\nc &quot;d&quot;\r\ne\n");
    UnescapingReader reader(stored, 4);
    EXPECT_EQ(reader.next(), QByteArray("a < b\n"));
    EXPECT_EQ(reader.next(), QByteArray("c \"d\"\r\n"));
    EXPECT_EQ(reader.next(), QByteArray("e\n"));
    EXPECT_EQ(reader.next(), QByteArray());
    EXPECT_EQ(reader.next(), QByteArray()) << "and stays empty";
}

TEST(UnescapingReader, ALineLongerThanAPieceIsOnePiece)
{
    const QByteArray line = QByteArray("&lt;x&gt; ").repeated(100);
    const QByteArray stored = line + "\n" + line;
    UnescapingReader reader(stored, 16);
    int pieces = 0;
    EXPECT_EQ(readAll(reader, &pieces), unescapeDefineUtf8(stored));
    EXPECT_EQ(pieces, 2);
}

TEST(UnescapingReader, EmptyTextGivesNothing)
{
    UnescapingReader reader{QByteArrayView()};
    EXPECT_EQ(reader.readableSize(), 0);
    EXPECT_EQ(reader.next(), QByteArray());
}

} // namespace
