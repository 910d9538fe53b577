#include "support/EditorHost.h"
#include "support/Typing.h"

#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

using Sci = QsciScintillaBase;

namespace {

// Every call-tip message the wrapper sends, recorded on the way to the component.
struct Sent {
    unsigned msg;
    long long wParam;
    QByteArray text;
    long long lParam;
};
std::vector<Sent> g_sent;
platform::WndProc g_editorProc = nullptr;

platform::LResult recordingProc(platform::Hwnd h, std::uint32_t msg, platform::WParam w, platform::LParam l)
{
    if (msg >= Sci::SCI_CALLTIPSHOW && msg <= Sci::SCI_CALLTIPSETHLT)
        g_sent.push_back({msg, static_cast<long long>(w),
                          msg == Sci::SCI_CALLTIPSHOW ? QByteArray(reinterpret_cast<const char *>(l)) : QByteArray(),
                          static_cast<long long>(l)});
    return platform::WindowSystem::callWindowProc(g_editorProc, h, msg, w, l);
}

struct ListsAndTips : ::testing::Test {
    EditorHost host;
    void SetUp() override
    {
        host.sci().SendEditor(Sci::SCI_AUTOCSETSEPARATOR, '|');
        g_sent.clear();
        g_editorProc = platform::WindowSystem::instance().setWindowProc(host.sci().hWnd(), &recordingProc);
    }
    void TearDown() override { platform::WindowSystem::instance().setWindowProc(host.sci().hWnd(), g_editorProc); }
    // Loads an API file of these bytes and turns call tips on.
    void useApiFile(const QByteArray &bytes)
    {
        QFile api(dir.filePath("api.txt"));
        ASSERT_TRUE(api.open(QIODevice::WriteOnly));
        api.write(bytes);
        api.close();
        ASSERT_TRUE(host.sci().LoadAPIFile(api.fileName()));
        host.sci().LetShowCallTips(true);
    }
    QTemporaryDir dir;
    std::vector<Sent> highlights() const
    {
        std::vector<Sent> h;
        for (const Sent &s : g_sent)
            if (s.msg == Sci::SCI_CALLTIPSETHLT)
                h.push_back(s);
        return h;
    }
};

TEST_F(ListsAndTips, ShowAutoCompleteSortsAndTakesTypedCharacters)
{
    host.sci().SetText(QStringLiteral("xx el"));
    host.sci().SetCurrentPosition(5);
    host.sci().ShowAutoComplete(QStringLiteral("then|if|else"), 2);
    EXPECT_EQ(shownItems(host.widget()), (QStringList{"else", "if", "then"}));
    EXPECT_EQ(host.sci().GetSelectText(), QStringLiteral("else"));
    chooseCurrent(host.widget());
    EXPECT_EQ(documentText(host.widget()), QStringLiteral("xx else"));
}

TEST_F(ListsAndTips, ReadOutsWithoutAListAreEmptyAndLongItemsWhole)
{
    EXPECT_EQ(host.sci().GetSelectText(), QString());
    const QString longItem = QStringLiteral("a") + QString(300, u'单');
    host.sci().ShowAutoComplete(QStringLiteral("b|") + longItem);
    host.sci().getSelectItem();
    EXPECT_EQ(host.sci().GetSelectText(), longItem);
    host.sci().CancelSelect();
    EXPECT_FALSE(listActive(host.widget()));
}

TEST_F(ListsAndTips, AutomaticListOnTheStartCharacter)
{
    host.sci().LetAutoShowAutoComplete(true);
    host.sci().LetAutoCompleteStart(QStringLiteral("."));
    host.sci().LetAutoCompleteString(QStringLiteral("if then else"));
    typeText(host.widget(), QStringLiteral("a"));
    EXPECT_FALSE(listActive(host.widget()));
    typeText(host.widget(), QStringLiteral("."));
    EXPECT_EQ(shownItems(host.widget()), QStringList{"if then else"});
    host.sci().CancelSelect();
    host.sci().LetAutoCompleteStart(QString());
    typeText(host.widget(), QStringLiteral("."));
    EXPECT_FALSE(listActive(host.widget()));
}

TEST_F(ListsAndTips, CallTipFollowsTheParametersOfTheApiFile)
{
    useApiFile("Beep(Tone)x\r\nMsgBox(Prompt, Buttons)x\r\nMsgBoxEx(a)x\r\nlast");

    typeText(host.widget(), QStringLiteral("MsgBox("));
    ASSERT_EQ(host.sci().CallTipActive(), 1);
    const auto shown = std::find_if(g_sent.begin(), g_sent.end(), [](const Sent &s) { return s.msg == Sci::SCI_CALLTIPSHOW; });
    ASSERT_NE(shown, g_sent.end());
    EXPECT_EQ(shown->text, QByteArray("MsgBox(Prompt, Buttons)"));
    ASSERT_EQ(highlights().size(), 1u);
    EXPECT_EQ(highlights().back().wParam, 7);
    EXPECT_EQ(highlights().back().lParam, 13);

    typeText(host.widget(), QStringLiteral("\"单据\","));
    EXPECT_EQ(highlights().back().wParam, 14);
    EXPECT_EQ(highlights().back().lParam, 22);
    // Past the last parameter the last one stays highlighted.
    typeText(host.widget(), QStringLiteral("1,"));
    EXPECT_EQ(highlights().back().wParam, 14);
    typeText(host.widget(), QStringLiteral(")"));
    EXPECT_EQ(host.sci().CallTipActive(), 0);
}

TEST_F(ListsAndTips, NoTipForAnUnknownOrLongerName)
{
    useApiFile("x\r\nMsgBoxEx(a, b)x\r\nlast");
    typeText(host.widget(), QStringLiteral("MsgBox("));
    EXPECT_EQ(host.sci().CallTipActive(), 0);
    typeText(host.widget(), QStringLiteral(" Nothing("));
    EXPECT_EQ(host.sci().CallTipActive(), 0);
    EXPECT_FALSE(host.sci().LoadAPIFile(dir.filePath("missing.txt")));
}

TEST_F(ListsAndTips, ApiFileHasNoLineLimit)
{
    QByteArray lines;
    for (int i = 0; i < 40000; ++i)
        lines += "F" + QByteArray::number(i) + "(a)x\r\n";
    useApiFile(lines + "Late(One, Two)x\r\nlast");
    typeText(host.widget(), QStringLiteral("Late("));
    EXPECT_EQ(host.sci().CallTipActive(), 1);
}

} // namespace
