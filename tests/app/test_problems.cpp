// The define-file check in the real main window, offscreen: the problems dock, the marks in the
// text, F8, the typing pause with its worker, the status bar, and saving left exactly as it was.
#include "app/CommandIds.h"
#include "app/DefineCheckRunner.h"
#include "app/MainStatusBar.h"
#include "app/ProblemsDock.h"
#include "editor/ProblemIndicators.h"
#include "support/MainWindowFixture.h"

#include <QDir>
#include <QLabel>
#include <QTableView>
#include <QTest>

namespace {
using Sci = QsciScintillaBase;
using Problems = MainWindowFixture;

// A warning on line 3 (an unknown kind of sql) and an error on line 4 (a stray end tag).
const QString kTwoProblems = QStringLiteral("<defineSqls>\r\n<define name=\"a\">\r\n\t<sql type=\"x\">单 a<b</sql>\r\n"
                                            "\t</sql>\r\n</define>\r\n</defineSqls>");
constexpr qsizetype kWarningAt = 45; // the value "x" on line 3
constexpr qsizetype kErrorAt = 64;   // "</sql>" on line 4, after a tab
const char kExampleRules[] = "<defineSqls>|<defineSqls>\r\n</defineSqls>|</defineSqls>\r\n";

// Marked ranges of one indicator, as (start, length).
std::vector<std::pair<qsizetype, qsizetype>> marks(clsScintilla &s, int indicator)
{
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    const qsizetype length = s.SendEditor(Sci::SCI_GETLENGTH);
    for (qsizetype at = 0; at < length;) {
        const qsizetype end = s.SendEditor(Sci::SCI_INDICATOREND, indicator, at);
        if (s.SendEditor(Sci::SCI_INDICATORVALUEAT, indicator, at))
            ranges.emplace_back(at, end - at);
        if (end <= at)
            break;
        at = end;
    }
    return ranges;
}

QString cell(ProblemsDock &dock, int row, int column)
{
    return dock.model().index(row, column).data().toString();
}

struct OpenedWindow : Problems {
    std::unique_ptr<frmMain> w;
    void open(const QString &readable)
    {
        QDir().mkpath(path("program"));
        writeFile(path("program/KeyWord.txt"), kExampleRules);
        writeFile(path("doc.xml"), gbk(EscapeDefineText(readable, KeyWordRules::fromText(kExampleRules)).text));
        w = makeWindow();
        w->show();
        prompt.openFiles = {path("doc.xml")};
        w->execute(cmd::Open);
        settle();
    }
    // With site rules the check runs beside the window: wait for its result.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !w->checkRunner()->checking(); }, 10000));
    }
    ProblemsDock &dock() { return *w->problemsDock(); }
};

using OpenedDocument = OpenedWindow;

TEST_F(OpenedDocument, OpeningListsAndMarksEachProblem)
{
    open(kTwoProblems);
    ProblemsDock &d = dock();
    ASSERT_EQ(d.model().rowCount(), 2);
    EXPECT_EQ(cell(d, 0, ProblemsModel::KindColumn), QStringLiteral("警告"));
    EXPECT_EQ(cell(d, 0, ProblemsModel::LineColumn), QStringLiteral("3"));
    EXPECT_TRUE(cell(d, 0, ProblemsModel::MessageColumn).startsWith(QStringLiteral("sql 的 type“x”不是已知的类型")));
    EXPECT_EQ(cell(d, 1, ProblemsModel::KindColumn), QStringLiteral("错误"));
    EXPECT_EQ(cell(d, 1, ProblemsModel::LineColumn), QStringLiteral("4"));
    EXPECT_EQ(cell(d, 1, ProblemsModel::ColumnColumn), QStringLiteral("2"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("问题"));

    clsScintilla &s = w->wrapper();
    EXPECT_EQ(marks(s, ProblemIndicators::kWarning), (std::vector<std::pair<qsizetype, qsizetype>>{{kWarningAt, 1}}));
    EXPECT_EQ(marks(s, ProblemIndicators::kError), (std::vector<std::pair<qsizetype, qsizetype>>{{kErrorAt, 6}}));
    EXPECT_EQ(w->mainStatusBar()->problems()->text(), QStringLiteral("错误 1  警告 1"));
}

TEST_F(OpenedDocument, ReturnOnARowAndF8MoveTheCaret)
{
    open(kTwoProblems);
    QTableView *view = dock().view();
    view->setFocus();
    view->setCurrentIndex(dock().model().index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(w->wrapper().GetCurPos(), kErrorAt);

    // F8 from the editor: after the last problem it comes round to the first.
    QWidget *editor = w->wrapper().widget();
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::keyClick(editor, Qt::Key_F8);
    EXPECT_EQ(w->wrapper().GetCurPos(), kWarningAt);
    EXPECT_EQ(view->currentIndex().row(), 0);
    w->execute(cmd::NextProblem);
    EXPECT_EQ(w->wrapper().GetCurPos(), kErrorAt);
    EXPECT_EQ(view->currentIndex().row(), 1);

    // A double-click on a row goes there too.
    const QRect row = view->visualRect(dock().model().index(0, ProblemsModel::MessageColumn));
    ASSERT_FALSE(row.isEmpty());
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, row.center()); // the first click of the two
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(w->wrapper().GetCurPos(), kWarningAt);

    // Shift+F8 goes back, round from the first to the last.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(w->wrapper().GetCurPos(), kErrorAt);
    w->execute(cmd::PreviousProblem);
    EXPECT_EQ(w->wrapper().GetCurPos(), kWarningAt);
}

// The list stops at the first 1,000; F8 and Shift+F8 still reach every problem in the text.
TEST_F(OpenedDocument, F8ReachesProblemsPastTheList)
{
    const QString stray = QStringLiteral("</sql>\r\n");
    open(QStringLiteral("<defineSqls>\r\n<define name=\"a\">\r\n") + stray.repeated(1500) +
         QStringLiteral("</define>\r\n</defineSqls>"));
    const DefineCheckResult &result = w->checkRunner()->result();
    ASSERT_EQ(result.problems.size(), 1000u);
    EXPECT_EQ(result.errors, 1500);
    const qsizetype first = 14 + 19;
    w->wrapper().SetSel(result.problems.back().offset, result.problems.back().offset);
    w->execute(cmd::NextProblem);
    EXPECT_EQ(w->wrapper().GetCurPos(), first + 1000 * 8) << "the 1,001st";
    w->wrapper().SetSel(first, first);
    w->execute(cmd::PreviousProblem);
    EXPECT_EQ(w->wrapper().GetCurPos(), first + 1499 * 8) << "round to the very last";
    w->execute(cmd::PreviousProblem);
    EXPECT_EQ(w->wrapper().GetCurPos(), first + 1498 * 8);
}

TEST_F(OpenedDocument, TypingPauseChecksAgainAndAWorkerResultForOldTextIsDropped)
{
    open(QStringLiteral("<defineSqls><define name=\"a\"><sql></sql></define></defineSqls>"));
    DefineCheckRunner &runner = *w->checkRunner();
    EXPECT_EQ(dock().model().rowCount(), 0);
    runner.pause = std::chrono::milliseconds(10);

    w->wrapper().SetSel(34, 34); // after "<sql>"
    w->wrapper().ReplaceSel(QStringLiteral("</error>"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dock().model().rowCount() == 1; }, 5000));
    EXPECT_EQ(cell(dock(), 0, ProblemsModel::MessageColumn), QStringLiteral("</error> 没有对应的开始标记 <error>"));

    // Every check on the worker, and no pause that ends within the test; the text changes while
    // the worker runs.
    runner.bytesPerMs = 0.001;
    runner.pause = std::chrono::minutes(1);
    w->wrapper().SetText(QStringLiteral("<sql>"));
    runner.checkNow();
    EXPECT_TRUE(runner.checking());
    w->wrapper().SetText(QStringLiteral("<error>"));
    EXPECT_FALSE(runner.checking()) << "the worker reads the text in place: a change stops it before it is made";
    EXPECT_EQ(cell(dock(), 0, ProblemsModel::MessageColumn), QStringLiteral("</error> 没有对应的开始标记 <error>"))
        << "the result for the old text is dropped";

    // Asked again while the worker runs: the second check follows the first.
    runner.checkNow();
    runner.checkNow();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !runner.checking() && cell(dock(), 0, ProblemsModel::MessageColumn) == QStringLiteral("<error> 只能写在 <define> 中"); },
        5000));
}

TEST_F(OpenedDocument, ALargeTextChangedDuringItsCheckIsCheckedAgain)
{
    open(QStringLiteral("<defineSqls></defineSqls>"));
    DefineCheckRunner &runner = *w->checkRunner();
    runner.pause = std::chrono::milliseconds(10);
    runner.bytesPerMs = 0.001; // on the worker
    QString large = QStringLiteral("<defineSqls>\r\n");
    for (int i = 0; i < 20000; ++i)
        large += QStringLiteral("<define name=\"d%1\"><sql type=\"x\">select 1</sql></define>\r\n").arg(i);
    large += QStringLiteral("</defineSqls>");
    w->wrapper().SetText(large);
    runner.checkNow();
    ASSERT_TRUE(runner.checking());
    // Typed while the worker reads: it stops first, and the typing pause checks the new text.
    w->wrapper().SetSel(0, 0);
    w->wrapper().ReplaceSel(QStringLiteral("</sql>"));
    EXPECT_FALSE(runner.checking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !runner.checking() && runner.result().warnings == 20000; }, 20000));
    EXPECT_GE(runner.result().errors, 1);
}

TEST_F(OpenedDocument, MarksChangeOnlyWhereTheProblemsDid)
{
    open(QStringLiteral("<defineSqls><define name=\"a\"><sql>select 1 from tblBill where a = 1</sql></define></defineSqls>"));
    clsScintilla &s = w->wrapper();
    ProblemIndicators marker(s);
    using Marks = std::vector<std::pair<qsizetype, qsizetype>>;
    marker.show({{2, 3, true}, {10, 2, false}, {20, 5, true}});
    marker.show({{3, 3, true}, {10, 2, false}, {20, 5, true}, {30, 1, false}, {90, 50, true}});
    EXPECT_EQ(marks(s, ProblemIndicators::kError), (Marks{{3, 3}, {20, 5}, {90, s.GetLen() - 90}}));
    EXPECT_EQ(marks(s, ProblemIndicators::kWarning), (Marks{{10, 2}, {30, 1}}));

    // The same problems again touch nothing.
    int touched = 0;
    const auto counting = QObject::connect(s.widget(), &Sci::SCN_MODIFIED, [&](int, int type, const char *, int, int, int, int, int, int, int) {
        touched += (type & Sci::SC_MOD_CHANGEINDICATOR) != 0;
    });
    marker.show({{3, 3, true}, {10, 2, false}, {20, 5, true}, {30, 1, false}, {90, 50, true}});
    EXPECT_EQ(touched, 0);
    QObject::disconnect(counting);

    // Touching and overlapping problems are one mark, as the component keeps them.
    marker.show({{5, 3, true}, {8, 2, true}, {6, 1, true}, {40, 0, false}});
    EXPECT_EQ(marks(s, ProblemIndicators::kError), (Marks{{5, 5}}));
    EXPECT_EQ(marks(s, ProblemIndicators::kWarning), Marks{});
    marker.show({});
    EXPECT_EQ(marks(s, ProblemIndicators::kError), Marks{});
}

TEST_F(OpenedDocument, SavingABrokenDocumentWritesTheSameBytesAndAsksNothing)
{
    open(kTwoProblems);
    w->wrapper().SetText(kTwoProblems + QStringLiteral("<sql type=\"x\">"));
    ASSERT_EQ(w->SaveLocal(), 1);
    settle();
    EXPECT_EQ(readFile(path("doc.xml")),
              gbk(EscapeDefineText(kTwoProblems + QStringLiteral("<sql type=\"x\">"), KeyWordRules::fromText(kExampleRules)).text));
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_EQ(dock().model().rowCount(), 5) << "the save checked again";
}

TEST_F(OpenedDocument, StatusBarFollowsTheCaretInCharacters)
{
    open(kTwoProblems);
    MainStatusBar &bar = *w->mainStatusBar();
    clsScintilla &s = w->wrapper();
    // Line 3, after the tab, the tag and the Chinese character: byte 33 + 1 + 14 + 3.
    s.SetSel(51, 51);
    QCoreApplication::processEvents();
    bar.updateCaret();
    EXPECT_EQ(bar.position()->text(), QStringLiteral("行 3, 列 17"));
    EXPECT_EQ(bar.selection()->text(), QString());
    QCoreApplication::processEvents();
    const int problemsAt = bar.problems()->x();
    s.SetSel(48, 53); // "单 a"
    bar.updateCaret();
    EXPECT_EQ(bar.selection()->text(), QStringLiteral("已选 3 个字符"));
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.problems()->x(), problemsAt) << "the fields keep their places";
    EXPECT_EQ(bar.codePage()->text(), QStringLiteral("GBK"));
    EXPECT_EQ(bar.mode()->text(), QStringLiteral("本地"));
}

TEST_F(Problems, StatusBarNamesTheServerInServerMode)
{
    writeFile(path("srv.xml"), "<sql></sql>");
    auto w = makeWindow(QStringLiteral("getHost=report.example,getPort=8080,OpenFileName=") + path("srv.xml"));
    EXPECT_EQ(w->mainStatusBar()->mode()->text(), QStringLiteral("服务器 report.example"));
}

TEST_F(Problems, TheViewMenuEntryTogglesTheDockAndTheLayoutKeepsIt)
{
    {
        auto w = makeWindow();
        w->show();
        ASSERT_TRUE(w->action(cmd::ProblemsList));
        EXPECT_EQ(w->action(cmd::ProblemsList)->text(), QStringLiteral("问题列表(&P)"));
        EXPECT_TRUE(w->problemsDock()->isVisible());
        EXPECT_TRUE(w->action(cmd::ProblemsList)->isChecked());
        w->execute(cmd::ProblemsList);
        EXPECT_FALSE(w->problemsDock()->isVisible());
        EXPECT_FALSE(w->action(cmd::ProblemsList)->isChecked());
        w->problemsDock()->show();
        EXPECT_TRUE(w->action(cmd::ProblemsList)->isChecked()) << "however the dock is shown";
        w->problemsDock()->close();
        w->close();
    }
    auto again = makeWindow();
    again->show();
    EXPECT_FALSE(again->problemsDock()->isVisible());
    again->execute(cmd::ProblemsList);
    EXPECT_TRUE(again->problemsDock()->isVisible());
}

} // namespace
