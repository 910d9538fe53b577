// The input of plendor-cli's html and pdf commands: unescaped and handed to the component a piece
// of lines at a time, from memory or read from a file, it must arrive as the whole text decoded
// at once would, and a bad byte far into it is reported at its offset in the file.
#include "CliEditor.h"
#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const platform::AnsiCodec kGbk(936);

// Lines with two-byte characters and entities, past several pieces, and one long line without a
// line feed that a piece cannot end in.
QByteArray largeStoredText()
{
    QByteArray stored;
    while (stored.size() < (3 << 20))
        stored += kGbk.encode(QStringLiteral("<sql>select 单据号 from t where a &lt; 1 and b = '&amp;lt;'</sql>\r\n"));
    return stored + QByteArray(1 << 20, 'x') + kGbk.encode(QStringLiteral("尾&quot;"));
}

QByteArray readableUtf8(QByteArray stored)
{
    unescapeDefineInPlace(stored);
    return kGbk.decode(stored).toUtf8();
}

struct Opened {
    QByteArray text;
    QString error;
};

Opened openFromFile(const QByteArray &stored)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("in.xml")));
    file.open(QIODevice::WriteOnly);
    file.write(stored);
    file.close();
    file.open(QIODevice::ReadOnly);
    CliEditor editor;
    Opened opened;
    editor.openFile(file, qint64(1) << 30, QStringLiteral("in.xml"), opened.error);
    opened.text = editor.wrapper().GetTextBytes();
    return opened;
}

TEST(ExportInput, ALargeInputArrivesWholeAcrossPieces)
{
    const QByteArray stored = largeStoredText();
    const QByteArray expected = readableUtf8(stored);
    CliEditor editor;
    QString error;
    editor.open(stored, error); // the text is loaded before the highlighter is looked for
    EXPECT_EQ(editor.wrapper().GetTextBytes(), expected);
    EXPECT_EQ(openFromFile(stored).text, expected);
}

TEST(ExportInput, ABadByteFarIntoAFileIsReportedAtItsOffset)
{
    QByteArray stored = largeStoredText();
    // A lead byte without its second byte, in the long line after the first pieces.
    const qsizetype at = stored.indexOf("xxxx") + 10;
    stored[at] = '\x81';
    stored[at + 1] = ' ';
    ASSERT_EQ(firstInvalidGbkByte(stored), at);
    ASSERT_GT(at, qsizetype(2) << 20) << "past the first pieces";
    const Opened opened = openFromFile(stored);
    EXPECT_TRUE(opened.error.contains(QStringLiteral("offset %1").arg(at))) << opened.error.toStdString();
}

} // namespace
