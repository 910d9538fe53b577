#include "support/EditorHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kChinese = QStringLiteral("中文");

QByteArray gbk(const QString &s) { return platform::AnsiCodec(936).encode(s); }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(TextOps, PositionsAreBytesOfTheComponentText)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QStringLiteral("a中b\r\n文x"));
    EXPECT_EQ(s.GetLen(), 1 + 3 + 1 + 2 + 3 + 1);
    EXPECT_EQ(s.GetText(), QStringLiteral("a中b\r\n文x"));
    EXPECT_EQ(s.GetLineCount(), 2);
    EXPECT_EQ(s.PositionFromLine(1), 7);
    EXPECT_EQ(s.GetLine(0), QByteArray("a\xE4\xB8\xAD" "b\r\n"));
    EXPECT_EQ(s.GetTextRange(1, 3), QByteArray("\xE4\xB8\xAD"));
    EXPECT_EQ(s.GetTextRange(5, 5), QByteArray("\r"));
    EXPECT_EQ(s.GetTextRange(5, 4), QByteArray());
    EXPECT_EQ(s.GetTextRange(9, 500), QByteArray("\xE6\x96\x87x").mid(2));
    EXPECT_EQ(s.GetByteAt(1), 0xE4);
    EXPECT_EQ(s.GetCharAt(0), QByteArray("a"));
    EXPECT_EQ(s.GetCharAt(99), QByteArray());

    s.SetSel(1, 4);
    EXPECT_EQ(s.GetSelText(), QStringLiteral("中"));
    s.ReplaceSel(QString());
    EXPECT_EQ(s.GetText(), QStringLiteral("ab\r\n文x"));
    s.SetSel(0, 0);
    s.SetSeletText(kChinese);
    EXPECT_EQ(s.GetText(), kChinese + QStringLiteral("ab\r\n文x"));
    EXPECT_EQ(s.GetCurPos(), 0) << "insert leaves the caret";
}

TEST(TextOps, EmptyDocumentAndUndoState)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    EXPECT_EQ(s.GetText(), QString());
    EXPECT_EQ(s.GetLine(0), QByteArray());
    s.SetText(QStringLiteral("old"));
    host.control->DoNew();
    EXPECT_EQ(s.GetText(), QString());
    EXPECT_FALSE(s.Modified());
    s.Undo();
    EXPECT_EQ(s.GetText(), QString()) << "DoNew cannot be undone";
    host.control->setModified(true);
    EXPECT_FALSE(host.control->Modified());
}

TEST(TextOps, LoadFileReadsGbkBytes)
{
    QTemporaryDir dir;
    EditorHost host;
    clsScintilla &s = host.sci();
    const QString path = dir.filePath(QStringLiteral("单据.xml"));
    writeFile(path, gbk(QStringLiteral("<define name=\"保存\">\r\n</define>")));
    EXPECT_TRUE(host.control->DoOpen(path));
    EXPECT_EQ(s.GetText(), QStringLiteral("<define name=\"保存\">\r\n</define>"));
    EXPECT_FALSE(s.Modified());
    s.Undo();
    EXPECT_EQ(s.GetText(), QStringLiteral("<define name=\"保存\">\r\n</define>")) << "the load is not undoable";

    writeFile(dir.filePath("one"), "x");
    EXPECT_TRUE(s.LoadFile(dir.filePath("one")));
    EXPECT_EQ(s.GetText(), QStringLiteral("x"));
    writeFile(dir.filePath("empty"), "");
    EXPECT_TRUE(s.LoadFile(dir.filePath("empty")));
    EXPECT_EQ(s.GetText(), QString());

    s.SetText(QStringLiteral("kept"));
    EXPECT_FALSE(s.LoadFile(dir.filePath("missing")));
    EXPECT_FALSE(s.LoadFile(dir.path()));
    EXPECT_EQ(s.GetText(), QStringLiteral("kept"));
}

TEST(TextOps, LoadFileIntoAReadOnlyEditorKeepsItReadOnly)
{
    QTemporaryDir dir;
    EditorHost host;
    clsScintilla &s = host.sci();
    writeFile(dir.filePath("f"), "content");
    s.SetReadOnly(true);
    EXPECT_TRUE(s.LoadFile(dir.filePath("f")));
    EXPECT_EQ(s.GetText(), QStringLiteral("content"));
    EXPECT_TRUE(s.ReadOnly());
    EXPECT_FALSE(s.LoadFile(dir.filePath("missing")));
    EXPECT_TRUE(s.ReadOnly());
    s.SetText(QStringLiteral("refused"));
    EXPECT_EQ(s.GetText(), QStringLiteral("content"));
}

TEST(TextOps, SaveToFileWritesGbkAndFollowsLineBreak)
{
    QTemporaryDir dir;
    EditorHost host;
    clsScintilla &s = host.sci();
    const QString path = dir.filePath("out.xml");

    s.SetText(QString());
    EXPECT_TRUE(host.control->DoSave(path));
    EXPECT_EQ(readFile(path), QByteArray());

    s.SetText(QStringLiteral("甲\r\n乙\r\n"));
    struct Row {
        int mode;
        QByteArray expected;
    };
    for (const Row &row : {Row{0, gbk("甲\r\n乙\r\n")}, Row{1, gbk("甲\r乙\r")}, Row{2, gbk("甲\n乙\n")}}) {
        s.LetLineBreak(row.mode);
        EXPECT_TRUE(s.SaveToFile(path));
        EXPECT_EQ(readFile(path), row.expected) << row.mode;
        EXPECT_FALSE(s.Modified());
    }
}

TEST(TextOps, FailedSaveLeavesTheOldFileAndTheModifiedState)
{
    QTemporaryDir dir;
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QStringLiteral("new"));
    EXPECT_FALSE(s.SaveToFile(dir.filePath("no/such/folder/x.xml")));
    EXPECT_TRUE(s.Modified()) << "a failed write is not a save";
}

TEST(TextOps, UnencodableTextIsReported)
{
    EditorHost host;
    clsScintilla &s = host.sci();
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
