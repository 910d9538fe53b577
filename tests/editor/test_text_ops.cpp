#include "support/EditorHost.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TextOps : ::testing::Test {
    QTemporaryDir dir;
    EditorHost host;
    clsScintilla &s = host.sci();
    QString path(const QString &name) const { return dir.filePath(name); }
};

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
