// Brace matching on the real component: the messages the matcher sends to its editing window,
// caught by a hook on that window.

#include "hooks/MSubclass.h"
#include "support/EditorHost.h"

#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;
using namespace platform;

namespace {

class BraceRecorder : public ISubclass {
public:
    struct Sent {
        std::uint32_t msg = 0;
        WParam w = 0;
        LParam l = 0;
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

class BraceMatching : public ::testing::Test {
protected:
    BraceMatching()
    {
        MSubclass::AttachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEHIGHLIGHT);
        MSubclass::AttachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEBADLIGHT);
    }
    ~BraceMatching() override
    {
        MSubclass::DetachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEHIGHLIGHT);
        MSubclass::DetachMessage(&recorder, s.hWnd(), Sci::SCI_BRACEBADLIGHT);
    }
    // Lets the component paint and send its user-interface update.
    void settle()
    {
        host.widget().repaint();
        QCoreApplication::processEvents();
    }
    void caretAt(int pos)
    {
        s.SetSel(pos, pos);
        settle();
    }
    BraceRecorder::Sent last() const { return recorder.sent.empty() ? BraceRecorder::Sent{} : recorder.sent.back(); }
    void expectHighlight(LParam brace, WParam partner) const
    {
        EXPECT_EQ(last().msg, static_cast<std::uint32_t>(Sci::SCI_BRACEHIGHLIGHT));
        EXPECT_EQ(last().w, partner);
        EXPECT_EQ(last().l, brace);
    }
    void expectBad(WParam brace) const
    {
        EXPECT_EQ(last().msg, static_cast<std::uint32_t>(Sci::SCI_BRACEBADLIGHT));
        EXPECT_EQ(last().w, brace);
    }

    EditorHost host;
    clsScintilla &s = host.sci();
    BraceRecorder recorder;
};

struct BraceCase {
    const char *name, *text;
    int caret;
    int brace;   // the brace found at or before the caret, -1 for none
    int partner; // its partner, -1 for a bad brace
};

const BraceCase kBraceCases[] = {
    {"AfterAClosingParenthesis", "f(a) ]", 4, 3, 1},
    {"BeforeAnUnmatchedBracket", "f(a) ]", 5, 5, -1},
    {"TheCharacterAfterTheCaretWins", "()(x)", 2, 2, 4},
    {"AngleBracketsOfATag", "<a>", 0, 0, 2},
    {"StoredStartTagHasNoPartner", "<defineSqls&gt;\n<define name=\"a\"&gt;select 1", 0, 0, -1},
    {"NoBraceClearsTheHighlight", "plain", 2, -1, -1},
};

class BraceCases : public BraceMatching, public ::testing::WithParamInterface<BraceCase> {};

TEST_P(BraceCases, HighlightPairsAndMarkBadBraces)
{
    const BraceCase &c = GetParam();
    s.SetText(QString::fromUtf8(c.text));
    caretAt(c.caret);
    if (c.brace < 0)
        expectHighlight(-1, static_cast<WParam>(-1));
    else if (c.partner < 0)
        expectBad(static_cast<WParam>(c.brace));
    else
        expectHighlight(c.brace, static_cast<WParam>(c.partner));
}

INSTANTIATE_TEST_SUITE_P(Cases, BraceCases, ::testing::ValuesIn(kBraceCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(BraceMatching, ScrollingKeepsTheMarksAndTextChangesRedoThem)
{
    QString text = QStringLiteral("<defineSqls&gt;\n");
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("select f(%1) from t\n").arg(i);
    s.SetText(text);
    caretAt(0);
    expectBad(0);

    recorder.sent.clear();
    s.SendEditor(Sci::SCI_LINESCROLL, 0, 120);
    settle();
    EXPECT_TRUE(recorder.sent.empty()) << "a scroll changes neither the caret nor the text";
    EXPECT_EQ(s.GetCurPos(), 0);

    // A partner added far below, the caret staying where it was: the component reports the
    // change with its next update, here the scroll back.
    const int end = s.GetLen();
    s.SendEditor(Sci::SCI_INSERTTEXT, static_cast<WParam>(end), QStringLiteral(">"));
    settle();
    s.SendEditor(Sci::SCI_LINESCROLL, 0, -120);
    settle();
    expectHighlight(0, static_cast<WParam>(end));

    recorder.sent.clear();
    s.SendEditor(Sci::SCI_LINESCROLL, 0, 120);
    settle();
    EXPECT_TRUE(recorder.sent.empty());

    s.SendEditor(Sci::SCI_DELETERANGE, static_cast<WParam>(end), 1);
    settle();
    s.SendEditor(Sci::SCI_LINESCROLL, 0, -120);
    settle();
    expectBad(0);

    // Away from the brace and back again.
    caretAt(3);
    expectHighlight(-1, static_cast<WParam>(-1));
    caretAt(0);
    expectBad(0);
}

TEST_F(BraceMatching, PartnersPastTheStyledTextCountNestingAndSkipChineseText)
{
    // Only the first page is styled when the caret's update comes; the partner is far below.
    QString text = QStringLiteral("(\n");
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("select 在(中) from t -- 是\n");
    text += QStringLiteral("x)");
    s.SetText(text);
    caretAt(0);
    ASSERT_LT(s.SendEditor(Sci::SCI_GETENDSTYLED), s.GetLen() / 2);
    expectHighlight(0, static_cast<WParam>(s.GetLen() - 1));

    s.SendEditor(Sci::SCI_DELETERANGE, static_cast<WParam>(s.GetLen() - 1), 1);
    caretAt(1);
    caretAt(0);
    expectBad(0);
}

} // namespace
