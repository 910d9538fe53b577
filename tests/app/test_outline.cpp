// The defines dock in the real window: filled by the check, filtered at every keystroke (Chinese
// too), Return and a double-click jump, Escape goes back, the caret's define is the current row;
// and the server start's define agrees with it.

#include "app/CommandIds.h"
#include "app/DefineCheckRunner.h"
#include "app/DefinesDock.h"
#include "app/ProblemsDock.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <cstring>

using Sci = QsciScintillaBase;

namespace {
using Outline = MainWindowFixture;

const QString kText = QStringLiteral(
    "<defineSqls>\n"
    "<define name=\"saveBill\" caption=\"保存单据\">\n<sql type=\"define\">update bill</sql>\n</define>\n"
    "<define name=\"查询客户\">\n<select>select * from client</select>\n</define>\n"
    "<define name=\"Customer\" caption=\"客户列表\">\n<exec>x</exec>\n</define>\n"
    "</defineSqls>\n");

QStringList shownNames(DefinesDock &dock)
{
    QStringList names;
    for (int row = 0; row < dock.model().rowCount(); ++row)
        names << dock.model().outline()->name(*dock.model().entryAt(row)).toString();
    return names;
}

std::unique_ptr<frmMain> windowWithText(MainWindowFixture &f, const QString &text)
{
    auto w = f.makeWindow();
    w->resize(800, 600); // a view of some lines, so that scrolling shows
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->wrapper().SetText(text);
    w->checkRunner()->checkNow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->checkRunner()->checking(); }));
    return w;
}

TEST_F(Outline, TheDockSitsBesideProblemsAndTheViewMenuAndCtrlShiftOReachIt)
{
    auto w = windowWithText(*this, kText);
    DefinesDock &dock = *w->definesDock();
    EXPECT_EQ(dock.windowTitle(), QStringLiteral("定义"));
    EXPECT_TRUE(w->tabifiedDockWidgets(w->problemsDock()).contains(&dock));
    EXPECT_EQ(shownNames(dock), (QStringList{"saveBill", "查询客户", "Customer"}));
    EXPECT_EQ(dock.model().data(dock.model().index(0, DefinesModel::StatementsColumn), Qt::DisplayRole).toString(),
              QStringLiteral("sql"));
    EXPECT_EQ(dock.model().data(dock.model().index(2, DefinesModel::LineColumn), Qt::DisplayRole).toInt(), 8);

    w->wrapper().SetFocus();
    QTest::keyClick(w->wrapper().widget(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(dock.isVisible());
    EXPECT_TRUE(dock.filterBox()->hasFocus());
    EXPECT_TRUE(w->action(cmd::DefinesList)->isChecked());
    w->action(cmd::DefinesList)->trigger();
    EXPECT_FALSE(dock.isVisible());
    EXPECT_FALSE(w->action(cmd::DefinesList)->isChecked());
}

struct FilterRow {
    const char *name;
    const char *typed;
    std::vector<const char *> shown;
};

class OutlineFilter : public MainWindowFixture, public ::testing::WithParamInterface<FilterRow> {};

TEST_P(OutlineFilter, NarrowsByNameOrCaptionAtEveryKeystroke)
{
    auto w = windowWithText(*this, kText);
    DefinesDock &dock = *w->definesDock();
    dock.focusFilter();
    const QString typed = QString::fromUtf8(GetParam().typed);
    for (qsizetype i = 0; i < typed.size(); ++i) {
        // Each key as the input method hands it over, Chinese included.
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed.mid(i, 1));
        QApplication::sendEvent(dock.filterBox(), &press);
        EXPECT_EQ(dock.model().filter(), typed.left(i + 1)) << "narrowed at every keystroke";
    }
    QStringList expected;
    for (const char *name : GetParam().shown)
        expected << QString::fromUtf8(name);
    EXPECT_EQ(shownNames(dock), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutlineFilter,
    ::testing::Values(FilterRow{"CaseIgnored", "CUST", {"Customer"}},
                      FilterRow{"ChineseName", "查询", {"查询客户"}},
                      FilterRow{"ChineseCaption", "客户", {"查询客户", "Customer"}},
                      FilterRow{"MiddleOfAName", "Bil", {"saveBill"}},
                      FilterRow{"Nothing", "zzz", {}},
                      FilterRow{"Empty", "", {"saveBill", "查询客户", "Customer"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Outline, ReturnAndDoubleClickJumpToTheStartTagEscapeGoesBackWithoutMoving)
{
    QString text = QStringLiteral("<defineSqls>\n");
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("<define name=\"d%1\">\n<sql>select %1</sql>\n</define>\n").arg(i);
    text += QStringLiteral("</defineSqls>\n");
    auto w = windowWithText(*this, text);
    clsScintilla &s = w->wrapper();
    DefinesDock &dock = *w->definesDock();

    dock.focusFilter();
    QTest::keyClicks(dock.filterBox(), QStringLiteral("d150"));
    QTest::keyClick(dock.filterBox(), Qt::Key_Return);
    const qsizetype start = text.toUtf8().indexOf("<define name=\"d150\">");
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETCURRENTPOS), start) << "before its <";
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETFIRSTVISIBLELINE), 1 + 150 * 3) << "its line at the top";
    EXPECT_TRUE(s.widget()->hasFocus());

    dock.focusFilter();
    dock.filterBox()->clear();
    const QModelIndex row = dock.model().index(20, 0);
    dock.view()->scrollTo(row);
    const QPoint at = dock.view()->visualRect(row).center();
    ASSERT_TRUE(dock.view()->viewport()->rect().contains(at));
    // As a person does it: a click, then the second click of the pair.
    QTest::mouseClick(dock.view()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dock.view()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETCURRENTPOS), text.toUtf8().indexOf("<define name=\"d20\">"));

    const auto caret = s.SendEditor(Sci::SCI_GETCURRENTPOS);
    dock.focusFilter();
    QTest::keyClicks(dock.filterBox(), QStringLiteral("d3"));
    QTest::keyClick(dock.filterBox(), Qt::Key_Escape);
    EXPECT_TRUE(s.widget()->hasFocus());
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETCURRENTPOS), caret);
}

TEST_F(Outline, TheDefineHoldingTheCaretIsTheCurrentRow)
{
    auto w = windowWithText(*this, kText);
    DefinesDock &dock = *w->definesDock();
    clsScintilla &s = w->wrapper();
    const auto currentRow = [&] { return dock.view()->currentIndex().row(); };
    s.SendEditor(Sci::SCI_GOTOPOS, static_cast<platform::WParam>(kText.toUtf8().indexOf("select *")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentRow() == 1; }));
    s.SendEditor(Sci::SCI_GOTOPOS, static_cast<platform::WParam>(kText.toUtf8().indexOf("<exec>")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentRow() == 2; }));
    s.SendEditor(Sci::SCI_GOTOPOS, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dock.view()->selectionModel()->selectedRows().isEmpty(); }))
        << "outside every define";
}

TEST_F(Outline, TheServerStartsDefineIsTheOneTheOutlineNames)
{
    // The name also stands quoted earlier, in another define's SQL: the define is what counts.
    writeFile(path("copy.xml"),
              gbk(QStringLiteral("<defineSqls>\n<define name=&quot;a&quot;&gt;\n<sql>select &quot;bill&quot;</sql>\n"
                                 "</define>\n<define name=&quot;bill&quot;&gt;\n<sql>x</sql>\n</define>\n</defineSqls>")));
    auto w = makeWindow(QStringLiteral("getHost=h,UpLoadFileName=b.xml,OpenFileName=%1,DefineName=bill").arg(path("copy.xml")));
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->checkRunner()->checking(); }));
    const QByteArray readable = w->wrapper().GetTextBytes();
    EXPECT_EQ(w->wrapper().SendEditor(Sci::SCI_GETSELECTIONSTART),
              readable.indexOf("<define name=\"bill\">") + qsizetype(std::strlen("<define name=")));
    EXPECT_EQ(w->wrapper().GetSelText(), QStringLiteral("\"bill\""));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->definesDock()->view()->currentIndex().row() == 1; }));
}
} // namespace
