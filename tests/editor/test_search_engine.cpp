// The search engine on the real component: each row is one search from a given selection.
#include "editor/SearchEngine.h"
#include "support/EditorHost.h"

#include <gtest/gtest.h>

namespace {

enum Opt : unsigned { None = 0, Wrap = 1, Reverse = 2, InRange = 4, Regex = 8, Case = 16, Whole = 32, WordStart = 64 };

FindOptions options(unsigned o)
{
    FindOptions f;
    f.WrapDocument = o & Wrap;
    f.FindReverse = o & Reverse;
    f.findinrng = o & InRange;
    f.RegExp = o & Regex;
    f.CaseSensative = o & Case;
    f.WholeWord = o & Whole;
    f.WordStart = o & WordStart;
    return f;
}

struct FindRow {
    const char *name;
    const char *text;
    int selStart, selEnd; // the selection the search starts from
    const char *pattern;
    unsigned opts;
    int start, end; // the selection afterwards; the match when found
    bool found;
    bool invalid = false;
};

const FindRow kFindRows[] = {
    {"ForwardFromTheSelectionEnd", "ab ab ab", 0, 2, "ab", None, 3, 5, true},
    {"NotFoundKeepsTheSelection", "alpha beta", 2, 4, "gamma", Wrap, 2, 4, false},
    {"ForwardStopsAtTheEndWithoutWrap", "x ab y ab z", 7, 9, "ab", None, 7, 9, false},
    {"ForwardWrapsToTheFirst", "x ab y ab z", 7, 9, "ab", Wrap, 2, 4, true},
    {"BackwardStopsAtTheStartWithoutWrap", "x ab y ab z", 2, 4, "ab", Reverse, 2, 4, false},
    {"BackwardWrapsToTheLast", "x ab y ab z", 2, 4, "ab", Reverse | Wrap, 7, 9, true},
    {"BackwardFromTheSelectionStart", "ab ab ab", 6, 8, "ab", Reverse, 3, 5, true},
    {"InRangeSearchesTheSelectionOnly", "needle hay hay", 7, 14, "needle", InRange, 7, 14, false},
    {"InRangeWithWrapSearchesTheDocument", "needle hay hay", 7, 14, "needle", InRange | Wrap, 0, 6, true},
    {"InRangeFindsInsideTheSelection", "needle hay hay", 0, 14, "hay", InRange, 7, 10, true},
    {"CaseIgnoredByDefault", "Select x", 0, 0, "select", None, 0, 6, true},
    {"CaseSensitiveSkipsOtherCase", "Select select", 0, 0, "select", Case, 7, 13, true},
    {"WholeWordSkipsPartOfAWord", "sword word", 0, 0, "word", Whole, 6, 10, true},
    {"WordStartSkipsTheMiddleOfAWord", "sword words", 0, 0, "word", WordStart, 6, 10, true},
    {"ChineseByItsUtf8Bytes", "单据 and 单据", 0, 0, "单据", None, 0, 6, true},
    {"ChineseAfterChinese", "单据 and 单据", 0, 6, "单据", None, 11, 17, true},
    {"RegexAlternation", "xx cd ab", 0, 0, "ab|cd", Regex, 3, 5, true},
    {"RegexWordBoundary", "swords word", 0, 0, "\\bword\\b", Regex, 7, 11, true},
    {"RegexCountedRepeat", "a aa aaa", 0, 0, "a{3}", Regex, 5, 8, true},
    {"InvalidRegexIsNotNotFound", "abc", 0, 0, "a(b", Regex | Wrap, 0, 0, false, true},
    {"InvalidRegexSet", "abc", 1, 2, "[", Regex, 1, 2, false, true},
    {"EmptyPatternFindsNothing", "abc", 1, 2, "", Wrap, 1, 2, false},
};

class FindRows : public ::testing::TestWithParam<FindRow> {};

TEST_P(FindRows, SelectsTheMatch)
{
    const FindRow &row = GetParam();
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QString::fromUtf8(row.text));
    s.SetSel(row.selStart, row.selEnd);
    const FindOutcome outcome = s.search().find(QString::fromUtf8(row.pattern), options(row.opts));
    EXPECT_EQ(outcome.found, row.found);
    EXPECT_EQ(outcome.invalidPattern, row.invalid);
    EXPECT_EQ(std::make_pair(s.GetSelStart(), s.GetSelEnd()), std::make_pair(row.start, row.end));
    if (row.found) {
        EXPECT_EQ(std::make_pair(outcome.start, outcome.end), std::make_pair(row.start, row.end));
    }
}
INSTANTIATE_TEST_SUITE_P(Search, FindRows, ::testing::ValuesIn(kFindRows),
                         [](const auto &info) { return std::string(info.param.name); });

struct ReplaceRow {
    const char *name;
    const char *text;
    const char *pattern;
    const char *with;
    unsigned opts;
    int count;
    const char *result;
    bool invalid = false;
};

const ReplaceRow kReplaceRows[] = {
    {"LongerReplacementIsNotSearchedAgain", "aaaa", "a", "bb", None, 4, "bbbbbbbb"},
    {"ShorterReplacementContinuesAfterIt", "aaaa", "aa", "a", None, 2, "aa"},
    {"ChineseReplacedWhole", "票据号 and 单据", "据", "據", None, 2, "票據号 and 单據"},
    {"RegexAlternation", "abcd", "ab|cd", "-", Regex, 2, "--"},
    {"RegexWordBoundary", "a word sword", "\\bword\\b", "W", Regex, 1, "a W sword"},
    {"ReplacementIsLiteralInRegexMode", "ab", "(a)", "$1\\1", Regex, 1, "$1\\1b"},
    {"EmptyMatchesEndAtTheDocumentEnd", "abc", "x*", "", Regex, 4, "abc"},
    {"EmptyMatchesStepOverEachCharacter", "ab", "x*", "-", Regex, 3, "-a-b-"},
    {"NothingToReplace", "none", "zz", "y", None, 0, "none"},
    {"EmptyPatternReplacesNothing", "aaaa", "", "y", None, 0, "aaaa"},
    {"InvalidRegexReplacesNothing", "a[b", "[", "x", Regex, 0, "a[b", true},
};

class ReplaceRows : public ::testing::TestWithParam<ReplaceRow> {};

TEST_P(ReplaceRows, ReplacesEveryMatch)
{
    const ReplaceRow &row = GetParam();
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QString::fromUtf8(row.text));
    s.SetSel(1, 1);
    const ReplaceOutcome outcome =
        s.search().replaceAll(QString::fromUtf8(row.pattern), QString::fromUtf8(row.with), options(row.opts));
    EXPECT_EQ(outcome.count, row.count);
    EXPECT_EQ(outcome.invalidPattern, row.invalid);
    EXPECT_EQ(s.GetText(), QString::fromUtf8(row.result));
}
INSTANTIATE_TEST_SUITE_P(Search, ReplaceRows, ::testing::ValuesIn(kReplaceRows),
                         [](const auto &info) { return std::string(info.param.name); });

struct Search : ::testing::Test {
    EditorHost host;
    clsScintilla &s = host.sci();
    std::pair<int, int> sel() { return {s.GetSelStart(), s.GetSelEnd()}; }
};

TEST_F(Search, FindNextAndPrevRepeatTheRememberedSearch)
{
    s.SetText(QStringLiteral("alpha beta alpha"));
    EXPECT_FALSE(s.FindNext()) << "no search yet";
    EXPECT_FALSE(s.FindText(QStringLiteral("gamma"), options(Wrap)));
    s.SetText(QStringLiteral("alpha beta alpha gamma"));
    s.SetSel(0, 0);
    EXPECT_TRUE(s.FindNext()) << "a failed search is remembered too";
    EXPECT_EQ(sel(), std::make_pair(17, 22));
    EXPECT_FALSE(s.FindText(QString()));
    EXPECT_TRUE(s.FindPrev()) << "an empty text does not replace the remembered search";
    EXPECT_EQ(sel(), std::make_pair(17, 22)) << "wrap was remembered";
    EXPECT_TRUE(s.search().lastOptions().WrapDocument);
}

TEST_F(Search, OneUndoTakesBackTheWholeReplaceAll)
{
    const QString text = QStringLiteral("select a from t;\nselect 单据 from u;\n").repeated(50);
    s.SetText(text);
    s.ClearUndoBuffer();
    EXPECT_EQ(s.ReplaceAll(QStringLiteral("select"), QStringLiteral("SELECT x,")), 100);
    const QString replaced = s.GetText();
    s.Undo();
    EXPECT_EQ(s.GetText(), text);
    EXPECT_EQ(s.SendEditor(QsciScintillaBase::SCI_CANUNDO), 0) << "the replace-all was the only step";
    s.Redo();
    EXPECT_EQ(s.GetText(), replaced);
}

TEST_F(Search, ReplaceTextIsBoundedAndAlwaysFalse)
{
    s.SetText(QStringLiteral("a a"));
    s.SetSel(0, 0);
    EXPECT_FALSE(s.ReplaceText("a", "aa", true));
    EXPECT_LE(s.GetLen(), 3 + 2 * 4) << "a replacement holding the text stops";
}

TEST_F(Search, GotoLineColumnClampsToTheDocument)
{
    s.SetText(QStringLiteral("line1\nline2 long\nl3"));
    const struct { int line, column, pos; } rows[] = {{0, 0, 0},   {1, 3, 9},  {1, 999, 16},
                                                      {999, 0, 17}, {-1, -1, 0}, {INT_MAX - 1, INT_MAX - 1, 19}};
    for (const auto &row : rows) {
        s.GotoLineColumn(row.line, row.column);
        EXPECT_EQ(sel(), std::make_pair(row.pos, row.pos)) << row.line << ',' << row.column;
    }
}
} // namespace
