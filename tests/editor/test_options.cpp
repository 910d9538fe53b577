// Every option of the editor control against the component's state: options that reach the
// component when set, and options that reach it at the next InitScintilla only.
#include "support/EditorHost.h"

#include <functional>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

struct OptionRow {
    const char *name;
    bool live; // reaches the component when set; otherwise at the next InitScintilla
    std::function<void(usrScintilla &)> setOtherThanDefault;
    std::function<bool(clsScintilla &)> shows; // true once the component or wrapper follows it
};

long send(clsScintilla &s, unsigned msg, platform::WParam w = 0) { return static_cast<long>(s.SendEditor(msg, w)); }

// The control's setter, and the test that the component or wrapper follows it.
#define SET(call) [](usrScintilla &c) { c.call; }
#define SHOWS(test) [](clsScintilla &s) { return test; }
const OptionRow kOptions[] = {
    {"ShowCallTips", true, SET(setShowCallTips(true)), SHOWS(s.ShowCallTips())},
    {"ViewWhiteSpace", true, SET(setViewWhiteSpace(true)), SHOWS(send(s, Sci::SCI_GETVIEWWS) == Sci::SCWS_VISIBLEALWAYS)},
    {"WordWrap", true, SET(setWordWrap(true)), SHOWS(send(s, Sci::SCI_GETWRAPMODE) == Sci::SC_WRAP_WORD)},
    {"ReadOnly", true, SET(setReadOnly(true)), SHOWS(send(s, Sci::SCI_GETREADONLY) != 0)},
    {"ContextMenu", true, SET(setContextMenu(true)), SHOWS(s.ContextMenu())},
    {"AutoIndent", true, SET(setAutoIndent(true)), SHOWS(s.AutoIndent())},
    {"IgnoreAutoCCase", true, SET(setIgnoreAutoCCase(true)), SHOWS(send(s, Sci::SCI_AUTOCGETIGNORECASE) != 0)},
    {"Bracematch", false, SET(setBracematch(false)), SHOWS(!s.MatchBraces())},
    {"ScrollWidth", false, SET(setScrollWidth(777)), SHOWS(send(s, Sci::SCI_GETSCROLLWIDTH) == 777)},
    {"LineNumbers", false, SET(setLineNumbers(false)), SHOWS(send(s, Sci::SCI_GETMARGINWIDTHN, 0) == 0)},
    {"Folding", false, SET(setFolding(false)), SHOWS(send(s, Sci::SCI_GETMARGINWIDTHN, 2) == 0 && !s.Folding())},
    {"ShowFlags", false, SET(setShowFlags(false)), SHOWS(send(s, Sci::SCI_GETMARGINWIDTHN, 1) == 0)},
    {"AutoShowAutoComplete", false, SET(setAutoShowAutoComplete(true)), SHOWS(s.AutoShowAutoComplete())},
    {"AutoCompleteString", false, SET(setAutoCompleteString("select from")), SHOWS(s.AutoCompleteString() == "select from")},
    {"AutoCompleteStart", false, SET(setAutoCompleteStart(":")), SHOWS(s.AutoCompleteStart() == ":")},
};
#undef SET
#undef SHOWS

class Options : public ::testing::TestWithParam<OptionRow> {};

TEST_P(Options, ReachTheComponentWhenSetOrAtCreation)
{
    const OptionRow &row = GetParam();
    EditorHost host;
    ASSERT_FALSE(row.shows(host.sci())) << "a fresh control has the default";
    row.setOtherThanDefault(*host.control);
    EXPECT_EQ(row.shows(host.sci()), row.live);
    host.control->CloseScintilla();
    host.control->InitScintilla();
    EXPECT_TRUE(row.shows(*host.control->sciMain)) << "the stored value is applied at creation";
}
INSTANTIATE_TEST_SUITE_P(Control, Options, ::testing::ValuesIn(kOptions),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Options, CurHighlighterAndModifiedAreTheControlsOwn)
{
    EditorHost host;
    host.control->setCurHighlighter(QStringLiteral("SQL"));
    EXPECT_EQ(host.control->options().CurHighlighter, QStringLiteral("SQL"));
    host.control->setModified(true);
    EXPECT_FALSE(host.control->Modified()) << "setting Modified does nothing";
    host.sci().SetText(QStringLiteral("x"));
    EXPECT_TRUE(host.control->Modified()) << "reading it asks the component";
}
} // namespace
