// frmMain: the defines dock "定义", filled from the check's own pass, and the jump to a define.

#include "app/CommandIds.h"
#include "app/DefineCheckRunner.h"
#include "app/DefinesDock.h"
#include "app/ProblemsDock.h"
#include "app/frmMain.h"

#include <QAction>
#include <Qsci/qsciscintillabase.h>
#include <algorithm>
#include <utility>

using Sci = QsciScintillaBase;

void frmMain::setUpOutline()
{
    // Before the layout is restored, which finds the dock by its name.
    m_definesDock = new DefinesDock(this);
    m_definesDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                               QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::BottomDockWidgetArea, m_definesDock);
    tabifyDockWidget(m_problemsDock, m_definesDock);
    m_problemsDock->raise();
    connect(m_definesDock, &QDockWidget::visibilityChanged, action(cmd::DefinesList), &QAction::setChecked);
    connect(m_definesDock, &DefinesDock::defineChosen, this, &frmMain::goToDefine);
    connect(m_definesDock, &DefinesDock::leave, this, [this] { wrapper().SetFocus(); });

    connect(m_checkRunner, &DefineCheckRunner::checked, this, [this] {
        m_definesDock->showOutline(m_checkRunner->outline());
        if (m_pendingDefine.isEmpty())
            return;
        const QString name = std::exchange(m_pendingDefine, QString());
        const DefineOutline &outline = *m_checkRunner->outline();
        const QString quoted = QLatin1Char('"') + name + QLatin1Char('"');
        const qsizetype entry = defineNamed(outline, name);
        if (entry < 0) {
            sciMain->DoFind(quoted); // not a define's name: found as text, as before
            return;
        }
        // That define at the top of the view, its quoted name selected as the search would.
        const DefineOutlineEntry &define = outline[static_cast<size_t>(entry)];
        goToDefine(define.offset);
        const qsizetype at = wrapper().TextBytesView().indexOf(quoted.toUtf8(), define.offset);
        if (at >= 0 && at < define.end)
            wrapper().SendEditor(Sci::SCI_SETSEL, static_cast<platform::WParam>(at),
                                 static_cast<platform::LParam>(at + quoted.toUtf8().size()));
    });
    clsScintilla &s = wrapper();
    connect(s.widget(), &Sci::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & (Sci::SC_UPDATE_SELECTION | Sci::SC_UPDATE_CONTENT))
            m_definesDock->followCaret(wrapper().SendEditor(Sci::SCI_GETCURRENTPOS));
    });
}

void frmMain::goToDefine(qsizetype offset)
{
    clsScintilla &s = wrapper();
    const auto position = std::clamp<qsizetype>(offset, 0, s.SendEditor(Sci::SCI_GETLENGTH));
    const auto line = s.SendEditor(Sci::SCI_LINEFROMPOSITION, static_cast<platform::WParam>(position));
    s.SendEditor(Sci::SCI_ENSUREVISIBLE, static_cast<platform::WParam>(line));
    s.SendEditor(Sci::SCI_GOTOPOS, static_cast<platform::WParam>(position));
    const auto visible = s.SendEditor(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<platform::WParam>(line));
    s.SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<platform::WParam>(visible));
    s.SetFocus();
}
