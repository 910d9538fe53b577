#include "hooks/MSubclass.h"
#include "support/EditorHost.h"

#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;
using namespace platform;

namespace {

// Records chosen messages sent to the editing window, through the hook on that window.
class MessageRecorder : public ISubclass {
public:
    struct Sent {
        std::uint32_t msg;
        WParam w;
        LParam l;
    };
    std::vector<Sent> sent;
    std::int32_t ISubclass_MsgResponse() const override { return ResponsePostProcess; }
    void setISubclass_MsgResponse(std::int32_t) override {}
    LResult ISubclass_WindowProc(Hwnd, std::uint32_t msg, WParam w, LParam l) override
    {
        sent.push_back({msg, w, l});
        return 0;
    }
};

TEST(Aids, FreshControlDefaults)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    EXPECT_TRUE(s.LineNumbers());
    EXPECT_TRUE(s.Folding());
    EXPECT_TRUE(s.ShowFlags());
    EXPECT_TRUE(s.MatchBraces());
    EXPECT_FALSE(s.AutoIndent());
    EXPECT_FALSE(s.WordWrap());
    EXPECT_FALSE(s.ViewWhiteSpace());
    EXPECT_EQ(s.ScrollWidth(), 10000);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETMARGINWIDTHN, 0), 40);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETMARGINWIDTHN, 1), 16);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETMARGINWIDTHN, 2), 20);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETMARGINMASKN, 2), static_cast<LParam>(static_cast<std::int32_t>(0xFE000000)));
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETMARGINSENSITIVEN, 2), 1);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETCODEPAGE), Sci::SC_CP_UTF8) << "936 is the byte form, not the component's";
    EXPECT_EQ(s.codec().codePage(), 936);

    // Stored-only options change nothing until the next InitScintilla.
    host.control->setFolding(false);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETMARGINWIDTHN, 2), 20);
}

TEST(Aids, MoveItDividesTheSizeByTwipsPerPixel)
{
    EditorHost host;
    host.control->setTwipsPerPixel(15, 15);
    host.control->MoveIt(10, 20, 3000, 1500);
    EXPECT_EQ(host.widget().geometry(), QRect(10, 20, 200, 100));
}

struct IndentCase {
    const char *about;
    const char *text;
    int expectedIndent;
};

class AutoIndent : public ::testing::TestWithParam<IndentCase> {};

TEST_P(AutoIndent, NewEmptyLineTakesTheNearestNonEmptyIndent)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.LetAutoIndent(true);
    s.SendEditor(Sci::SCI_SETEOLMODE, Sci::SC_EOL_LF);
    s.SetText(QString::fromUtf8(GetParam().text));
    s.SetSel(s.GetLen(), s.GetLen());
    QTest::keyClick(&host.widget(), Qt::Key_Return);
    const int line = s.GetCurLine();
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETLINEINDENTATION, static_cast<WParam>(line)), GetParam().expectedIndent)
        << GetParam().about;
    EXPECT_EQ(s.GetColumn(), GetParam().expectedIndent) << GetParam().about;
    EXPECT_EQ(s.GetSelStart(), s.GetSelEnd());
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoIndent,
                         ::testing::Values(IndentCase{"after an indented line", "        select", 8},
                                           IndentCase{"over an empty line", "        select\n", 8},
                                           IndentCase{"over several empty lines", "    a\n\n\n", 4},
                                           IndentCase{"unindented line above", "    a\nselect", 0},
                                           IndentCase{"first line", "", 0}));

TEST(Aids, BreakInsideALineIsLeftAlone)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.LetAutoIndent(true);
    s.SetText(QStringLiteral("        select from"));
    s.SetSel(15, 15); // after "select "
    QTest::keyClick(&host.widget(), Qt::Key_Return);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETLINEINDENTATION, 1), 0);
}

TEST(Aids, BraceMatchingHighlightsPairsAndMarksBadBraces)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    MessageRecorder recorder;
    MSubclass::AttachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEHIGHLIGHT);
    MSubclass::AttachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEBADLIGHT);

    s.SetText(QStringLiteral("f(a) ]"));
    s.SetSel(4, 4); // after ")"
    host.widget().repaint();
    QCoreApplication::processEvents();
    ASSERT_FALSE(recorder.sent.empty());
    EXPECT_EQ(recorder.sent.back().msg, static_cast<std::uint32_t>(Sci::SCI_BRACEHIGHLIGHT));
    EXPECT_EQ(recorder.sent.back().w, 1u);
    EXPECT_EQ(recorder.sent.back().l, 3);

    s.SetSel(5, 5); // before "]": the character after the caret wins
    host.widget().repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.sent.back().msg, static_cast<std::uint32_t>(Sci::SCI_BRACEBADLIGHT));
    EXPECT_EQ(recorder.sent.back().w, 5u);

    s.SetText(QStringLiteral("plain"));
    s.SetSel(2, 2);
    host.widget().repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.sent.back().msg, static_cast<std::uint32_t>(Sci::SCI_BRACEHIGHLIGHT));
    EXPECT_EQ(recorder.sent.back().w, static_cast<WParam>(-1));

    MSubclass::DetachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEHIGHLIGHT);
    MSubclass::DetachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEBADLIGHT);
}

TEST(Aids, FlagsToggleWrapAndCompareTheWholeMask)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QStringLiteral("l0\nl1\nl2\nl3\nl4"));
    const auto mask = [&](int line) { return s.SendEditor(Sci::SCI_MARKERGET, static_cast<WParam>(line)); };

    s.SetSel(s.PositionFromLine(1), s.PositionFromLine(1));
    s.ToggleFlag();
    EXPECT_EQ(mask(1), 4);
    s.ToggleFlag();
    EXPECT_EQ(mask(1), 0);

    // With a fold marker on the line the mask is never exactly 4: the flag is added again.
    s.MarkerSet(2, Sci::SC_MARKNUM_FOLDER);
    s.SetSel(s.PositionFromLine(2), s.PositionFromLine(2));
    s.ToggleFlag();
    s.ToggleFlag();
    EXPECT_EQ(mask(2), 4 | (1 << Sci::SC_MARKNUM_FOLDER));

    s.MarkerSet(0, 2);
    s.SetSel(s.PositionFromLine(2), s.PositionFromLine(2));
    s.NextFlag();
    EXPECT_EQ(s.GetCurLine(), 0) << "wraps to the first flagged line";
    s.PrevFlag();
    EXPECT_EQ(s.GetCurLine(), 2) << "wraps to the last flagged line";
    s.ClearFlags();
    s.SetSel(s.PositionFromLine(3), s.PositionFromLine(3));
    s.NextFlag();
    EXPECT_EQ(s.GetCurLine(), 0) << "no flag anywhere goes to the first line";
}

TEST(Aids, ZoomViewSwitchesAndCommandKeys)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    for (int i = 0; i < 40; ++i)
        s.ZoomIn();
    EXPECT_EQ(s.GetZoom(), 20) << "the component clamps";
    s.ZoomOut();
    EXPECT_EQ(s.GetZoom(), 19);

    s.SetViewWhiteSpace(true);
    EXPECT_TRUE(s.ViewWhiteSpace());
    s.LetWordWrap(true);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETWRAPMODE), Sci::SC_WRAP_WORD);
    s.SetScrollWidth(321);
    EXPECT_EQ(s.ScrollWidth(), 321);

    // Ctrl+Z no longer undoes inside the component: the host's command does.
    QTest::keyClicks(&host.widget(), QStringLiteral("abc"));
    QTest::keyClick(&host.widget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s.GetText(), QStringLiteral("abc"));
    EXPECT_EQ(LShift(2, 16) + 'V', 0x20000 + 86);
    EXPECT_THROW(LShift(1, 31), std::overflow_error);
    EXPECT_EQ(Shift(0x30000, 16, false), 3);
}
} // namespace
