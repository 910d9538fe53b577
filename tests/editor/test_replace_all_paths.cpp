// Replace-all's paths against each other on the real component: the matches found in the
// unchanged text and replaced in one pass (or one by one) must make what searching again after
// each replacement makes, with the selection and the bookmarks where that leaves them.
#include "editor/SearchEngine.h"
#include "support/EditorHost.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {
using Sci = QsciScintillaBase;

struct PathRow {
    const char *name;
    FindOptions options;
    std::vector<const char *> patterns; // chosen at random, or made from the text's pieces when empty
    unsigned seed;
};

FindOptions opts(bool matchCase, bool wholeWord, bool wordStart, bool regex)
{
    FindOptions o;
    o.CaseSensative = matchCase;
    o.WholeWord = wholeWord;
    o.WordStart = wordStart;
    o.RegExp = regex;
    return o;
}

// Small pieces, so that matches are frequent, touch each other and sit at both ends; and
// characters beyond ASCII that fold to ASCII without case (Kelvin sign, long s, a ligature).
const char *const kPieces[] = {"a", "b", "ab", "A", " ", "\n", "\r\n", "\r", "单", "据", "_", "(", "1", "，", "B",
                               "k", "\u212A", "s", "\u017F", "fi", "\uFB01"};
const char *const kReplacements[] = {"", "a", "x", "ab", " ", "\n", "\r", "(", "单据", "$1\\1", "b_", "，"};

const PathRow kRows[] = {
    {"Plain", opts(false, false, false, false), {}, 1},
    {"PlainMatchCase", opts(true, false, false, false), {}, 2},
    {"WholeWord", opts(false, true, false, false), {}, 3},
    {"WordStartMatchCase", opts(true, false, true, false), {}, 4},
    {"RegexGroups", opts(false, false, false, true), {"(a)(b)?", "(单|据)+", "(a|b)\\1", "([ab])[^ab]", "a+"}, 5},
    {"RegexEmptyMatches", opts(false, false, false, true), {"x*", "b*", "a?", "(^)", "$", "\\b"}, 6},
    {"RegexLineStartsAndEnds", opts(true, false, false, true), {"^a", "b$", "^$", "^[^\\n]", "\\bab\\b", "^.*$"}, 7},
};

QByteArray randomText(std::mt19937 &random, int maxPieces)
{
    std::uniform_int_distribution<int> count(0, maxPieces);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    QByteArray text;
    for (int n = count(random); n > 0; --n)
        text += kPieces[piece(random)];
    return text;
}

struct Result {
    QByteArray text;
    ReplaceOutcome outcome;
    int caret = 0, anchor = 0;
    std::vector<int> markedLines;
};

class ReplaceAllPaths : public ::testing::TestWithParam<PathRow> {
protected:
    EditorHost host;
    clsScintilla &s = host.sci();

    Result run(ReplaceAllPath path, const QByteArray &text, const QByteArray &pattern, const QByteArray &with,
               int caret, int anchor, const std::vector<int> &marks)
    {
        s.SetTextBytes(text);
        s.ClearUndoBuffer();
        s.SendEditor(Sci::SCI_MARKERDELETEALL, static_cast<platform::WParam>(-1));
        s.SendEditor(Sci::SCI_SETANCHOR, anchor);
        s.SendEditor(Sci::SCI_SETCURRENTPOS, caret);
        for (const int line : marks)
            s.SendEditor(Sci::SCI_MARKERADD, line, 2);
        s.search().setReplaceAllPath(path);
        Result r;
        r.outcome = s.search().replaceAll(QString::fromUtf8(pattern), QString::fromUtf8(with), GetParam().options);
        r.text = s.GetTextBytes();
        r.caret = static_cast<int>(s.SendEditor(Sci::SCI_GETCURRENTPOS));
        r.anchor = static_cast<int>(s.SendEditor(Sci::SCI_GETANCHOR));
        for (auto line = s.SendEditor(Sci::SCI_MARKERNEXT, 0, 1 << 2); line >= 0;
             line = s.SendEditor(Sci::SCI_MARKERNEXT, line + 1, 1 << 2))
            r.markedLines.push_back(static_cast<int>(line));
        if (r.outcome.count > 0) {
            s.Undo();
            EXPECT_EQ(s.GetTextBytes(), text) << "one Undo restores the text";
            EXPECT_EQ(s.SendEditor(Sci::SCI_CANUNDO), 0) << "the replace-all was one step";
        }
        return r;
    }
};

TEST_P(ReplaceAllPaths, OnePassMakesWhatEachMatchMakes)
{
    const PathRow &row = GetParam();
    std::mt19937 random(row.seed);
    std::uniform_int_distribution<std::size_t> replacementPick(0, std::size(kReplacements) - 1);
    for (int round = 0; round < 400; ++round) {
        const QByteArray text = randomText(random, round % 3 == 0 ? 6 : 40);
        QByteArray pattern;
        if (row.patterns.empty()) {
            while (pattern.isEmpty())
                pattern = randomText(random, 2);
        } else {
            pattern = row.patterns[std::uniform_int_distribution<std::size_t>(0, row.patterns.size() - 1)(random)];
        }
        const QByteArray with = kReplacements[replacementPick(random)];
        // A selection and bookmarks at character boundaries of the unchanged text.
        s.SetTextBytes(text);
        const int lines = s.GetLineCount();
        const auto boundary = [&](int p) { return static_cast<int>(s.SendEditor(Sci::SCI_POSITIONBEFORE, p + 1)); };
        std::uniform_int_distribution<int> position(0, static_cast<int>(text.size()));
        const int caret = boundary(position(random));
        const int anchor = boundary(position(random));
        std::vector<int> marks;
        for (int line = 0; line < lines; ++line) {
            if (random() % 3 == 0)
                marks.push_back(line);
        }

        const Result reference = run(ReplaceAllPath::EachMatch, text, pattern, with, caret, anchor, marks);
        for (const ReplaceAllPath path : {ReplaceAllPath::OnePass, ReplaceAllPath::Auto}) {
            const Result r = run(path, text, pattern, with, caret, anchor, marks);
            const auto where = [&] {
                return ::testing::Message() << "round " << round << (path == ReplaceAllPath::Auto ? " auto" : " one pass")
                                            << "\ntext    " << text.toPercentEncoding(" ").constData() << "\npattern "
                                            << pattern.constData() << "\nwith    " << with.toPercentEncoding(" ").constData();
            };
            ASSERT_EQ(r.text, reference.text) << where();
            EXPECT_EQ(r.outcome.count, reference.outcome.count) << where();
            EXPECT_EQ(r.outcome.invalidPattern, reference.outcome.invalidPattern) << where();
            EXPECT_EQ(std::make_pair(r.caret, r.anchor), std::make_pair(reference.caret, reference.anchor)) << where();
            EXPECT_EQ(r.markedLines, reference.markedLines) << where();
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Search, ReplaceAllPaths, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });

// The editor's own path on a text long enough for one pass keeps the reader's place.
TEST(ReplaceAllOnePass, KeepsTheTopLineAndUndoesInOneStep)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    const QString text = QStringLiteral("select 单据 from tblBill;\n").repeated(2000);
    s.SetText(text);
    s.ClearUndoBuffer();
    const int caret = s.PositionFromLine(1200) + 3;
    s.SetSel(caret, caret);
    s.SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, 1500);
    EXPECT_EQ(s.ReplaceAll(QStringLiteral("tblBill"), QStringLiteral("tblBillMain\n")), 2000);
    EXPECT_EQ(s.GetLineCount(), 4001);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETFIRSTVISIBLELINE), 3000) << "each line above the top line gained one";
    EXPECT_EQ(s.GetSelStart(), s.PositionFromLine(2400) + 3);
    s.Undo();
    EXPECT_EQ(s.GetText(), text);
    EXPECT_EQ(s.SendEditor(Sci::SCI_CANUNDO), 0);
}
} // namespace
