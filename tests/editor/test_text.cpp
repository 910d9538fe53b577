// The document's text in the real component: positions as UTF-8 bytes, reading and setting the
// bytes without QString, new documents built from pieces, files in and out (large ones decoded
// in pieces exactly as the codec decodes them whole).
#include "support/EditorHost.h"
#include "support/GbkSamples.h"
#include "support/TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Sci = QsciScintillaBase;

struct TextOps : ::testing::Test {
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
using TextBytes = TextOps;

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

// The component's own SetText stops at the first NUL; a file holding one must not lose the rest.
TEST_F(TextBytes, SettingKeepsTheTextAfterANul)
{
    s.SetText(QString::fromUtf8("ab\0cd", 5));
    EXPECT_EQ(s.GetText(), QString::fromUtf8("ab\0cd", 5));
    s.SetTextBytes(QByteArray("xy\0z", 4));
    EXPECT_EQ(s.GetTextBytes(), QByteArray("xy\0z", 4));
    s.Undo();
    EXPECT_EQ(s.GetTextBytes(), QByteArray("ab\0cd", 5)) << "still one undo step";
    s.Redo();
    EXPECT_EQ(s.GetTextBytes(), QByteArray("xy\0z", 4));
    s.LoadTextPieces(7, pieces({"ab", QByteArray("c\0d", 3), "ef"}));
    EXPECT_EQ(s.GetTextBytes(), QByteArray("abc\0def", 7));
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

// Mixed characters, and a line of two-byte characters far longer than a piece.
QByteArray largeGbkFile()
{
    return GbkSamples::largeFile(5, "\n", QByteArray("\xD6\xD0").repeated(800 * 1024) + "\r\nend");
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

TEST_F(TextBytes, ALeadByteEndingALargeFileIsUnreadable)
{
    const QByteArray bytes = largeGbkFile() + "\xD6";
    writeFile(path("cut.xml"), bytes);
    qsizetype asked = -1;
    s.setInvalidBytesQuestion([&](qsizetype offset) {
        asked = offset;
        return false;
    });
    s.SetText(QStringLiteral("old"));
    EXPECT_EQ(s.LoadDocument(path("cut.xml")), clsScintilla::LoadResult::Declined);
    EXPECT_EQ(asked, bytes.size() - 1);
    EXPECT_EQ(s.GetText(), QStringLiteral("old"));
}

TEST_F(TextBytes, ANulDeepInALargeFileIsAskedAboutAtItsOffsetBeforeTheDocumentChanges)
{
    QByteArray bytes = largeGbkFile();
    const qsizetype at = 2 * 1024 * 1024 + 5;
    bytes[at] = '\0';
    writeFile(path("nul.xml"), bytes);
    qsizetype asked = -1;
    bool accept = false;
    s.setNulBytesQuestion([&](qsizetype offset) {
        asked = offset;
        return accept;
    });
    s.SetText(QStringLiteral("old"));
    EXPECT_EQ(s.LoadDocument(path("nul.xml")), clsScintilla::LoadResult::Declined);
    EXPECT_EQ(asked, at);
    EXPECT_EQ(s.GetText(), QStringLiteral("old"));

    accept = true;
    ASSERT_EQ(s.LoadDocument(path("nul.xml")), clsScintilla::LoadResult::Loaded);
    EXPECT_EQ(s.GetLen(), platform::AnsiCodec().decode(bytes).toUtf8().size()) << "kept whole past the NUL";
}

TEST_F(TextOps, PositionsAreBytesOfTheComponentText)
{
    s.SetText(QStringLiteral("a中b\r\n文x"));
    EXPECT_EQ(s.GetLen(), 1 + 3 + 1 + 2 + 3 + 1);
    EXPECT_EQ(s.GetText(), QStringLiteral("a中b\r\n文x"));
    EXPECT_EQ(s.GetLineCount(), 2);
    EXPECT_EQ(s.PositionFromLine(1), 7);
    EXPECT_EQ(s.GetLine(0), QByteArray("a\xE4\xB8\xAD" "b\r\n"));
    EXPECT_EQ(s.GetTextRange(1, 3), QByteArray("\xE4\xB8\xAD"));
    EXPECT_EQ(s.GetTextRange(5, 5), QByteArray("\r"));
    EXPECT_EQ(s.GetTextRange(5, 4), QByteArray());
    EXPECT_EQ(s.GetTextRange(9, 500), QByteArray("\x87x")) << "the last bytes of 文, cut at the end";
    EXPECT_EQ(s.GetByteAt(1), 0xE4);
    EXPECT_EQ(s.GetCharAt(0), QByteArray("a"));
    EXPECT_EQ(s.GetCharAt(99), QByteArray());

    s.SetSel(1, 4);
    EXPECT_EQ(s.GetSelText(), QStringLiteral("中"));
    s.ReplaceSel(QString());
    EXPECT_EQ(s.GetText(), QStringLiteral("ab\r\n文x"));
    s.SetSel(0, 0);
    s.SetSeletText(QStringLiteral("中文"));
    EXPECT_EQ(s.GetText(), QStringLiteral("中文ab\r\n文x"));
    EXPECT_EQ(s.GetCurPos(), 0) << "insert leaves the caret";
}

TEST_F(TextOps, EmptyDocumentAndNewCannotBeUndone)
{
    EXPECT_EQ(s.GetText(), QString());
    EXPECT_EQ(s.GetLine(0), QByteArray());
    s.SetText(QStringLiteral("old"));
    host.control->DoNew();
    EXPECT_EQ(s.GetText(), QString());
    EXPECT_FALSE(s.Modified());
    s.Undo();
    EXPECT_EQ(s.GetText(), QString());
}

TEST_F(TextOps, LoadFileReadsGbkBytesAndKeepsTheTextOnFailure)
{
    const QString readable = QStringLiteral("<define name=\"保存\">\r\n</define>");
    writeFile(path("单据.xml"), gbk(readable));
    EXPECT_TRUE(host.control->DoOpen(path("单据.xml")));
    EXPECT_EQ(s.GetText(), readable);
    EXPECT_FALSE(s.Modified());
    s.Undo();
    EXPECT_EQ(s.GetText(), readable) << "the load is not undoable";

    writeFile(path("empty"), "");
    EXPECT_TRUE(s.LoadFile(path("empty")));
    EXPECT_EQ(s.GetText(), QString());

    s.SetText(QStringLiteral("kept"));
    EXPECT_FALSE(s.LoadFile(path("missing")));
    EXPECT_FALSE(s.LoadFile(dir.path()));
    EXPECT_EQ(s.GetText(), QStringLiteral("kept"));
}

TEST_F(TextOps, LoadFileIntoAReadOnlyEditorKeepsItReadOnly)
{
    writeFile(path("f"), "content");
    s.SetReadOnly(true);
    EXPECT_TRUE(s.LoadFile(path("f")));
    EXPECT_EQ(s.GetText(), QStringLiteral("content"));
    EXPECT_TRUE(s.ReadOnly());
    EXPECT_FALSE(s.LoadFile(path("missing")));
    EXPECT_TRUE(s.ReadOnly());
    s.SetText(QStringLiteral("refused"));
    EXPECT_EQ(s.GetText(), QStringLiteral("content"));
}

TEST_F(TextOps, SaveWritesGbkInTheChosenLineBreakAndAFailedWriteIsNoSave)
{
    EXPECT_TRUE(host.control->DoSave(path("out.xml")));
    EXPECT_EQ(readFile(path("out.xml")), QByteArray());

    s.SetText(QStringLiteral("甲\r\n乙\r\n"));
    const std::pair<int, QString> modes[] = {{0, "甲\r\n乙\r\n"}, {1, "甲\r乙\r"}, {2, "甲\n乙\n"}};
    for (const auto &[mode, expected] : modes) {
        s.LetLineBreak(mode);
        EXPECT_TRUE(s.SaveToFile(path("out.xml")));
        EXPECT_EQ(readFile(path("out.xml")), gbk(expected)) << mode;
        EXPECT_FALSE(s.Modified());
    }

    s.SetText(QStringLiteral("new"));
    EXPECT_FALSE(s.SaveToFile(path("no/such/folder/x.xml")));
    EXPECT_TRUE(s.Modified());
}

TEST_F(TextOps, EnterTypesCrLfFromTheStartAndExistingLineEndsStay)
{
    s.SetText(QStringLiteral("a\nb"));
    s.SetSel(1, 1);
    QTest::keyClick(&host.widget(), Qt::Key_Return);
    EXPECT_EQ(s.GetTextBytes(), QByteArray("a\r\n\nb"));
    s.LetLineBreak(Sci::SC_EOL_LF);
    s.SetSel(0, 0);
    QTest::keyClick(&host.widget(), Qt::Key_Return);
    EXPECT_EQ(s.GetTextBytes(), QByteArray("\na\r\n\nb"));
}

TEST_F(TextOps, UnencodableTextIsReported)
{
    s.SetText(QStringLiteral("ok 中文 ?"));
    bool lossless = false;
    EXPECT_EQ(s.FileBytes(&lossless), gbk(QStringLiteral("ok 中文 ?")));
    EXPECT_TRUE(lossless);
    s.SetText(QStringLiteral("emoji 😀 here"));
    s.FileBytes(&lossless);
    EXPECT_FALSE(lossless);
    EXPECT_EQ(s.codec().unencodableSample(s.GetText()), QStringLiteral("😀"));
}
} // namespace
