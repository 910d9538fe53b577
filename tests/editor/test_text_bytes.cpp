// The document as UTF-8 bytes: reading and setting it without QString, new documents built
// from pieces, and large files decoded in pieces exactly as the codec decodes them whole.
#include "support/EditorHost.h"
#include "support/GbkSamples.h"
#include "support/TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Sci = QsciScintillaBase;

struct TextBytes : ::testing::Test {
    QTemporaryDir dir;
    EditorHost host;
    clsScintilla &s = host.sci();
    QString path(const QString &name) const { return dir.filePath(name); }
    platform::LResult eventMask() { return s.SendEditor(Sci::SCI_GETMODEVENTMASK); }
    bool canUndo() { return s.SendEditor(Sci::SCI_CANUNDO) != 0; }

    // Pieces handed out one after another, then an empty one.
    static std::function<QByteArray()> pieces(QByteArrayList list)
    {
        return [list = std::move(list), i = qsizetype(0)]() mutable {
            return i < list.size() ? list.at(i++) : QByteArray();
        };
    }
};

TEST_F(TextBytes, AreTheComponentText)
{
    s.SetText(QStringLiteral("a中b\r\n"));
    EXPECT_EQ(s.GetTextBytes(), QByteArray("a\xE4\xB8\xAD" "b\r\n"));
    EXPECT_EQ(s.TextBytesView(), QByteArrayView("a\xE4\xB8\xAD" "b\r\n"));
    s.SetTextBytes("x\xE6\x96\x87");
    EXPECT_EQ(s.GetText(), QStringLiteral("x文"));
    s.SetText(QString());
    EXPECT_EQ(s.GetTextBytes(), QByteArray());
    EXPECT_TRUE(s.TextBytesView().isEmpty());
}

TEST_F(TextBytes, SettingStopsAtTheFirstNulAsSetTextDoes)
{
    s.SetText(QString::fromUtf8("ab\0cd", 5));
    const QString viaString = s.GetText();
    s.SetTextBytes(QByteArray("ab\0cd", 5));
    EXPECT_EQ(s.GetText(), viaString);
    EXPECT_EQ(s.GetText(), QStringLiteral("ab"));
    s.LoadTextPieces(9, pieces({"ab", QByteArray("c\0d", 3), "ef"}));
    EXPECT_EQ(s.GetText(), QStringLiteral("abc"));
}

TEST_F(TextBytes, SettingIsOneUndoStep)
{
    s.SetText(QStringLiteral("old"));
    s.ClearUndoBuffer();
    s.SetTextBytes("new");
    s.Undo();
    EXPECT_EQ(s.GetText(), QStringLiteral("old"));
    s.Redo();
    EXPECT_EQ(s.GetText(), QStringLiteral("new"));
}

TEST_F(TextBytes, PiecesMakeANewDocumentThatCannotBeUndone)
{
    s.SetText(QStringLiteral("old"));
    s.SetSel(1, 2);
    s.LoadTextPieces(11, pieces({"a\r\n", "\xE4\xB8\xAD\n", "c"}));
    EXPECT_EQ(s.GetText(), QStringLiteral("a\r\n中\nc"));
    EXPECT_EQ(s.GetLineCount(), 3);
    EXPECT_EQ(std::make_pair(s.GetSelStart(), s.GetSelEnd()), std::make_pair(0, 0)) << "as after SetText";
    EXPECT_FALSE(canUndo());
    EXPECT_FALSE(s.Modified());
    s.Undo();
    EXPECT_EQ(s.GetText(), QStringLiteral("a\r\n中\nc"));

    s.LoadTextBytes("whole");
    EXPECT_EQ(s.GetText(), QStringLiteral("whole"));
    EXPECT_FALSE(canUndo());
    s.LoadTextBytes(QByteArray());
    EXPECT_EQ(s.GetText(), QString());

    s.SetText(QStringLiteral("typed"));
    EXPECT_TRUE(canUndo()) << "collecting undo again";
}

TEST_F(TextBytes, BulkChangesStillAnnounceThemselvesAndLeaveTheEventsAsTheyWere)
{
    const platform::LResult mask = eventMask();
    QSignalSpy modified(host.control.get(), &usrScintilla::OnModified);
    s.SetTextBytes("alpha alpha");
    EXPECT_GT(modified.count(), 0);
    EXPECT_EQ(eventMask(), mask);
    s.ReplaceAll(QStringLiteral("alpha"), QStringLiteral("beta"));
    s.Undo();
    s.Redo();
    s.LoadTextPieces(4, pieces({"a", "b"}));
    EXPECT_EQ(eventMask(), mask);

    modified.clear();
    s.SetSel(0, 0);
    s.ReplaceSel(QStringLiteral("x"));
    EXPECT_GE(modified.count(), 2) << "an ordinary change is announced and reported";
}

// A valid file of several decoding pieces: mixed characters, and a line of two-byte
// characters far longer than a piece.
QByteArray largeGbkFile()
{
    return GbkSamples(5).lines(3 * 1024 * 1024, "\n") + QByteArray("\xD6\xD0").repeated(800 * 1024) + "\r\nend";
}

TEST_F(TextBytes, LargeFilesLoadAsTheCodecDecodesThemWhole)
{
    const QByteArray bytes = largeGbkFile();
    ASSERT_EQ(platform::AnsiCodec().decodeChecked(bytes).firstInvalidByte, -1);
    writeFile(path("large.xml"), bytes);
    s.setInvalidBytesQuestion([](qsizetype) {
        ADD_FAILURE() << "no byte is unreadable";
        return true;
    });
    ASSERT_TRUE(s.LoadFile(path("large.xml")));
    EXPECT_TRUE(s.GetText() == platform::AnsiCodec().decode(bytes));
    EXPECT_FALSE(canUndo());
    EXPECT_FALSE(s.Modified());
}

TEST_F(TextBytes, DamageDeepInALargeFileIsFoundWhereTheCodecFindsIt)
{
    QByteArray bytes = largeGbkFile();
    bytes.insert(2 * 1024 * 1024 + 17, "\x81 ");
    writeFile(path("damaged.xml"), bytes);
    const platform::AnsiCodec::Decoded expected = platform::AnsiCodec().decodeChecked(bytes);
    ASSERT_GE(expected.firstInvalidByte, 2 * 1024 * 1024);

    qsizetype asked = -1;
    s.setInvalidBytesQuestion([&](qsizetype offset) {
        asked = offset;
        return true;
    });
    ASSERT_TRUE(s.LoadFile(path("damaged.xml")));
    EXPECT_EQ(asked, expected.firstInvalidByte);
    EXPECT_TRUE(s.GetText() == expected.text);
}

} // namespace
