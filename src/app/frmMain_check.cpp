// frmMain: the define-file check of the document, its problems dock and the status bar.

#include "app/CommandIds.h"
#include "app/DefineCheckRunner.h"
#include "app/LaunchParams.h"
#include "app/MainStatusBar.h"
#include "app/ProblemsDock.h"
#include "app/frmMain.h"

#include <QAction>
#include <algorithm>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

void frmMain::setUpChecking()
{
    // Before the layout is restored, which finds the dock by its name.
    m_problemsDock = new ProblemsDock(this);
    m_problemsDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                                QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::BottomDockWidgetArea, m_problemsDock);
    connect(m_problemsDock, &ProblemsDock::problemChosen, this, &frmMain::goToProblem);
    // F8 also from the list, whose focus the editor's own binding does not cover.
    auto *next = new QAction(m_problemsDock);
    next->setShortcut(QKeySequence(Qt::Key_F8));
    next->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QAction::triggered, this, &frmMain::goToNextProblem);
    m_problemsDock->addAction(next);
    auto *previous = new QAction(m_problemsDock);
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    previous->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QAction::triggered, this, &frmMain::goToPreviousProblem);
    m_problemsDock->addAction(previous);
    // The View menu's check mark follows the dock however it is shown or closed (the action, not
    // the window, receives it: the dock also hides while the window is destroyed).
    connect(m_problemsDock, &QDockWidget::visibilityChanged, action(cmd::ProblemsList), &QAction::setChecked);

    m_checkRunner = new DefineCheckRunner(wrapper(), this);
    connect(m_checkRunner, &DefineCheckRunner::checked, this, [this] {
        const DefineCheckResult &result = m_checkRunner->result();
        m_problemsDock->showResult(result);
        m_mainStatusBar->setProblemCounts(result.errors, result.warnings);
    });

    m_mainStatusBar = new MainStatusBar(wrapper(), this);
    m_mainStatusBar->setMode(ServerMode(), launchParams().Host);
    setStatusBar(m_mainStatusBar);
}

void frmMain::checkDocumentNow() { m_checkRunner->checkNow(); }

void frmMain::goToProblem(qsizetype offset)
{
    clsScintilla &s = wrapper();
    const auto position = std::clamp<qsizetype>(offset, 0, s.SendEditor(Sci::SCI_GETLENGTH));
    const auto line = s.SendEditor(Sci::SCI_LINEFROMPOSITION, static_cast<platform::WParam>(position));
    s.SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<platform::WParam>(line));
    s.SendEditor(Sci::SCI_GOTOPOS, static_cast<platform::WParam>(position));
    s.SetFocus();
}

// The list holds the first problems by position; past its last one the text is asked again, so
// that F8 reaches every problem however many there are.
void frmMain::goToNextProblem()
{
    if (!m_problemsDock->isVisible())
        m_problemsDock->show();
    const qsizetype caret = wrapper().SendEditor(Sci::SCI_GETCURRENTPOS);
    const DefineCheckResult &result = m_checkRunner->result();
    if (result.omitted() > 0 && !result.problems.empty() && caret >= result.problems.back().offset) {
        if (const auto offset = m_checkRunner->findProblem(caret, -1, false)) {
            goToProblem(*offset);
            return;
        }
    }
    m_problemsDock->goToNextAfter(caret);
}

void frmMain::goToPreviousProblem()
{
    if (!m_problemsDock->isVisible())
        m_problemsDock->show();
    const qsizetype caret = wrapper().SendEditor(Sci::SCI_GETCURRENTPOS);
    const DefineCheckResult &result = m_checkRunner->result();
    if (result.omitted() > 0 && !result.problems.empty()) {
        const qsizetype lastListed = result.problems.back().offset;
        // Before the caret past the list, or round from the first to the very last.
        const bool wraps = caret <= result.problems.front().offset;
        if (caret > lastListed || wraps) {
            const auto offset = m_checkRunner->findProblem(wraps ? -1 : lastListed, wraps ? -1 : caret, true);
            if (offset && *offset > lastListed) {
                goToProblem(*offset);
                return;
            }
        }
    }
    m_problemsDock->goToPreviousBefore(caret);
}
