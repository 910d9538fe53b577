// frmMain: the define-file check of the document, its problems dock and the status bar.

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

void frmMain::goToNextProblem()
{
    if (!m_problemsDock->isVisible())
        m_problemsDock->show();
    m_problemsDock->goToNextAfter(wrapper().SendEditor(Sci::SCI_GETCURRENTPOS));
}
