#include "support/EditorHost.h"

#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;
using namespace platform;

namespace {

TEST(Aids, ComponentKeepsUtf8AndTheFoldMarginShowsFoldMarkers)
{
    EditorHost host; // asks for code page 936
    clsScintilla &s = host.sci();
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETCODEPAGE), Sci::SC_CP_UTF8) << "936 is the byte form, not the component's";
    EXPECT_EQ(s.codec().codePage(), 936);
    EXPECT_EQ(static_cast<std::uint32_t>(s.SendEditor(Sci::SCI_GETMARGINMASKN, 2)),
              static_cast<std::uint32_t>(Sci::SC_MASK_FOLDERS));
}

TEST(Aids, MoveItDividesTheSizeByTwipsPerPixel)
{
    EditorHost host;
    host.control->setTwipsPerPixel(15, 15);
    host.control->MoveIt(10, 20, 3000, 1500);
    EXPECT_EQ(host.widget().geometry(), QRect(10, 20, 200, 100));
}

struct IndentCase { const char *name, *text; int caret /* -1: the end of the text */, expectedIndent; };

const IndentCase kBreaks[] = {
    {"AfterAnIndentedLine", "        select", -1, 8},
    {"OverAnEmptyLine", "        select\n", -1, 8},
    {"OverSeveralEmptyLines", "    a\n\n\n", -1, 4},
    {"UnindentedLineAbove", "    a\nselect", -1, 0},
    {"FirstLine", "", -1, 0},
    {"InsideALineIsLeftAlone", "        select from", 15, 0},
};

class AutoIndent : public ::testing::TestWithParam<IndentCase> {};

TEST_P(AutoIndent, NewEmptyLineTakesTheNearestNonEmptyIndent)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.LetAutoIndent(true);
    s.SetText(QString::fromUtf8(GetParam().text));
    const int caret = GetParam().caret < 0 ? s.GetLen() : GetParam().caret;
    s.SetSel(caret, caret);
    QTest::keyClick(&host.widget(), Qt::Key_Return);
    const auto line = static_cast<WParam>(s.GetCurLine());
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETLINEINDENTATION, line), GetParam().expectedIndent);
    EXPECT_EQ(s.GetColumn(), GetParam().expectedIndent);
    EXPECT_EQ(s.GetSelStart(), s.GetSelEnd());
}

INSTANTIATE_TEST_SUITE_P(Breaks, AutoIndent, ::testing::ValuesIn(kBreaks),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Aids, FlagsToggleWrapAndCompareTheWholeMask)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QStringLiteral("l0\nl1\nl2\nl3\nl4"));
    const auto mask = [&](int line) { return s.SendEditor(Sci::SCI_MARKERGET, static_cast<WParam>(line)); };
    const auto caretOn = [&](int line) { s.SetSel(s.PositionFromLine(line), s.PositionFromLine(line)); };

    caretOn(1);
    s.ToggleFlag();
    EXPECT_EQ(mask(1), 4);
    s.ToggleFlag();
    EXPECT_EQ(mask(1), 0);

    // With a fold marker on the line the mask is never exactly 4: the flag is added again.
    s.MarkerSet(2, Sci::SC_MARKNUM_FOLDER);
    caretOn(2);
    s.ToggleFlag();
    s.ToggleFlag();
    EXPECT_EQ(mask(2), 4 | (1 << Sci::SC_MARKNUM_FOLDER));

    s.MarkerSet(0, 2);
    s.NextFlag();
    EXPECT_EQ(s.GetCurLine(), 0) << "wraps to the first flagged line";
    s.PrevFlag();
    EXPECT_EQ(s.GetCurLine(), 2) << "wraps to the last flagged line";
    s.ClearFlags();
    caretOn(3);
    s.NextFlag();
    EXPECT_EQ(s.GetCurLine(), 0) << "no flag anywhere goes to the first line";
}

TEST(Aids, ZoomIsClampedAndTheHostOwnsTheCommandKeys)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    for (int i = 0; i < 40; ++i)
        s.ZoomIn();
    EXPECT_EQ(s.GetZoom(), 20);
    for (int i = 0; i < 40; ++i)
        s.ZoomOut();
    EXPECT_EQ(s.GetZoom(), -10);

    // Ctrl+Z no longer undoes inside the component: the host's command does.
    QTest::keyClicks(&host.widget(), QStringLiteral("abc"));
    QTest::keyClick(&host.widget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s.GetText(), QStringLiteral("abc"));
    EXPECT_EQ(LShift(2, 16), 0x20000);
    EXPECT_THROW(LShift(1, 31), std::overflow_error);
    EXPECT_EQ(Shift(0x30000, 16, false), 3);
}
} // namespace
