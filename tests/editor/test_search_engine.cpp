#include "support/EditorHost.h"

#include <gtest/gtest.h>

namespace {

FindOptions opts(bool wrap = false, bool reverse = false, bool inRange = false, bool regExp = false)
{
    FindOptions o;
    o.WrapDocument = wrap;
    o.FindReverse = reverse;
    o.findinrng = inRange;
    o.RegExp = regExp;
    return o;
}

struct Search : ::testing::Test {
    EditorHost host;
    clsScintilla &s = host.sci();
    std::pair<int, int> sel() { return {s.GetSelStart(), s.GetSelEnd()}; }
};

TEST_F(Search, NotFoundLeavesTheSelectionAndFindNextRepeatsIt)
{
    s.SetText(QStringLiteral("alpha beta alpha"));
    EXPECT_FALSE(s.FindNext()) << "no search yet";
    s.SetSel(2, 4);
    EXPECT_FALSE(s.FindText(QStringLiteral("gamma"), opts(true)));
    EXPECT_EQ(sel(), std::make_pair(2, 4));
    s.SetText(QStringLiteral("alpha beta alpha gamma"));
    s.SetSel(0, 0);
    EXPECT_TRUE(s.FindNext());
    EXPECT_EQ(sel(), std::make_pair(17, 22));
    EXPECT_FALSE(s.FindText(QString()));
    EXPECT_TRUE(s.FindNext()) << "an empty text does not replace the remembered search";
}

TEST_F(Search, WrapsForwardFromTheLastAndBackwardFromTheFirst)
{
    s.SetText(QStringLiteral("x ab y ab z"));
    s.SetSel(7, 9); // the last "ab"
    EXPECT_FALSE(s.FindText("ab", opts(false)));
    EXPECT_TRUE(s.FindText("ab", opts(true)));
    EXPECT_EQ(sel(), std::make_pair(2, 4));
    EXPECT_FALSE(s.FindText("ab", opts(false, true)));
    EXPECT_TRUE(s.FindText("ab", opts(true, true)));
    EXPECT_EQ(sel(), std::make_pair(7, 9));
    EXPECT_TRUE(s.FindPrev());
    EXPECT_EQ(sel(), std::make_pair(2, 4));
}

TEST_F(Search, InRangeWithAndWithoutWrap)
{
    s.SetText(QStringLiteral("needle hay hay"));
    s.SetSel(7, 14);
    EXPECT_FALSE(s.FindText("needle", opts(false, false, true)));
    EXPECT_EQ(sel(), std::make_pair(7, 14));
    EXPECT_TRUE(s.FindText("needle", opts(true, false, true)));
    EXPECT_EQ(sel(), std::make_pair(0, 6));
    s.SetSel(0, 14);
    EXPECT_TRUE(s.FindText("hay", opts(false, false, true)));
    EXPECT_EQ(sel(), std::make_pair(7, 10));
}

TEST_F(Search, ChineseTextIsFoundAndReplacedByItsBytes)
{
    s.SetText(QStringLiteral("单据 and 单据"));
    s.SetSel(0, 0);
    EXPECT_TRUE(s.FindText(QStringLiteral("单据")));
    EXPECT_EQ(sel(), std::make_pair(0, 6));
    s.ReplaceSel(QStringLiteral("票据号"));
    EXPECT_TRUE(s.FindText(QStringLiteral("单据")));
    EXPECT_EQ(sel(), std::make_pair(14, 20)) << "the next search starts after the whole replacement";
    EXPECT_EQ(s.ReplaceAll(QStringLiteral("据"), QStringLiteral("據")), 2);
    EXPECT_EQ(s.GetText(), QStringLiteral("票據号 and 单據"));
}

TEST_F(Search, ReplaceAllCounts)
{
    struct Row {
        const char *text, *find, *with;
        int count;
        const char *result;
        bool regExp;
    };
    const Row rows[] = {
        {"aaaa", "a", "bb", 4, "bbbbbbbb", false},
        {"aaaa", "aa", "a", 2, "aa", false},
        {"abcd", "ab|cd", "-", 2, "--", true},
        {"a word sword", "\\bword\\b", "W", 1, "a W sword", true},
        {"aaa a", "a{2}", "X", 1, "Xa a", true},
        {"abc", "x*", "", 4, "abc", true},   // empty matches end
        {"ab", "x*", "-", 3, "-a-b-", true}, // and step over each character
        {"none", "zz", "y", 0, "none", false},
        {"aaaa", "", "y", 0, "aaaa", false},
    };
    for (const Row &row : rows) {
        s.SetText(QString::fromUtf8(row.text));
        EXPECT_EQ(s.ReplaceAll(row.find, row.with, opts(false, false, false, row.regExp)), row.count) << row.find;
        EXPECT_EQ(s.GetText(), QString::fromUtf8(row.result)) << row.find;
    }
}

TEST_F(Search, InvalidPatternIsToldApartFromNotFound)
{
    s.SetText(QStringLiteral("abc"));
    EXPECT_FALSE(s.FindText("a(b", opts(true, false, false, true)));
    EXPECT_TRUE(s.lastPatternInvalid());
    EXPECT_FALSE(s.FindText("zzz", opts(true, false, false, true)));
    EXPECT_FALSE(s.lastPatternInvalid());
    EXPECT_EQ(s.ReplaceAll("[", "x", opts(false, false, false, true)), 0);
    EXPECT_TRUE(s.lastPatternInvalid());
}

TEST_F(Search, ReplaceTextIsBoundedAndGotoClamps)
{
    s.SetText(QStringLiteral("a a"));
    s.SetSel(0, 0);
    EXPECT_FALSE(s.ReplaceText("a", "aa", true));
    EXPECT_LE(s.GetLen(), 3 + 2 * 4) << "a replacement holding the text stops";

    s.SetText(QStringLiteral("line1\nline2 long\nl3"));
    s.GotoLineColumn(0, 0);
    EXPECT_EQ(sel(), std::make_pair(0, 0));
    s.GotoLineColumn(1, 3);
    EXPECT_EQ(s.GetCurPos(), 9);
    s.GotoLineColumn(1, 999);
    EXPECT_EQ(s.GetCurPos(), s.GetLineEndPosition(1));
    s.GotoLineColumn(999, 0);
    EXPECT_EQ(s.GetCurLine(), 2);
    s.GotoLineColumn(-1, -1);
    EXPECT_EQ(s.GetCurPos(), 0);
    s.GotoLineColumn(INT_MAX - 1, INT_MAX - 1);
    EXPECT_EQ(s.GetCurPos(), s.GetLen());
}
} // namespace
