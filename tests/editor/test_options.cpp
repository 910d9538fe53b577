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

long send(clsScintilla &s, unsigned msg, long w = 0) { return static_cast<long>(s.SendEditor(msg, static_cast<platform::WParam>(w))); }

const OptionRow kOptions[] = {
    {"ShowCallTips", true, [](usrScintilla &c) { c.setShowCallTips(true); }, [](clsScintilla &s) { return s.ShowCallTips(); }},
    {"ViewWhiteSpace", true, [](usrScintilla &c) { c.setViewWhiteSpace(true); },
     [](clsScintilla &s) { return send(s, Sci::SCI_GETVIEWWS) == Sci::SCWS_VISIBLEALWAYS; }},
    {"WordWrap", true, [](usrScintilla &c) { c.setWordWrap(true); },
     [](clsScintilla &s) { return send(s, Sci::SCI_GETWRAPMODE) == Sci::SC_WRAP_WORD; }},
    {"ReadOnly", true, [](usrScintilla &c) { c.setReadOnly(true); }, [](clsScintilla &s) { return send(s, Sci::SCI_GETREADONLY) != 0; }},
    {"ContextMenu", true, [](usrScintilla &c) { c.setContextMenu(true); }, [](clsScintilla &s) { return s.ContextMenu(); }},
    {"AutoIndent", true, [](usrScintilla &c) { c.setAutoIndent(true); }, [](clsScintilla &s) { return s.AutoIndent(); }},
    {"IgnoreAutoCCase", true, [](usrScintilla &c) { c.setIgnoreAutoCCase(true); },
     [](clsScintilla &s) { return send(s, Sci::SCI_AUTOCGETIGNORECASE) != 0; }},
    {"Bracematch", false, [](usrScintilla &c) { c.setBracematch(false); }, [](clsScintilla &s) { return !s.MatchBraces(); }},
    {"ScrollWidth", false, [](usrScintilla &c) { c.setScrollWidth(777); },
     [](clsScintilla &s) { return send(s, Sci::SCI_GETSCROLLWIDTH) == 777; }},
    {"LineNumbers", false, [](usrScintilla &c) { c.setLineNumbers(false); },
     [](clsScintilla &s) { return send(s, Sci::SCI_GETMARGINWIDTHN, 0) == 0; }},
    {"Folding", false, [](usrScintilla &c) { c.setFolding(false); },
     [](clsScintilla &s) { return send(s, Sci::SCI_GETMARGINWIDTHN, 2) == 0 && !s.Folding(); }},
    {"ShowFlags", false, [](usrScintilla &c) { c.setShowFlags(false); },
     [](clsScintilla &s) { return send(s, Sci::SCI_GETMARGINWIDTHN, 1) == 0; }},
    {"AutoShowAutoComplete", false, [](usrScintilla &c) { c.setAutoShowAutoComplete(true); },
     [](clsScintilla &s) { return s.AutoShowAutoComplete(); }},
    {"AutoCompleteString", false, [](usrScintilla &c) { c.setAutoCompleteString(QStringLiteral("select from")); },
     [](clsScintilla &s) { return s.AutoCompleteString() == QStringLiteral("select from"); }},
    {"AutoCompleteStart", false, [](usrScintilla &c) { c.setAutoCompleteStart(QStringLiteral(":")); },
     [](clsScintilla &s) { return s.AutoCompleteStart() == QStringLiteral(":"); }},
};

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
