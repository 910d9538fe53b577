// frmMain: the command bars (menus, toolbars, docking bar), shortcuts and command dispatch.

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/LaunchParams.h"
#include "app/frmMain.h"

#include "app/DefinesDock.h"
#include "app/ProblemsDock.h"
#include "platform/ProgramFolder.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

QAction *frmMain::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction *frmMain::makeAction(int id)
{
    if (QAction *existing = action(id))
        return existing;
    const CommandInfo *info = commandInfo(id);
    auto *a = new QAction(info ? QString::fromUtf8(info->caption) : QString(), this);
    a->setData(id);
    a->setObjectName(QStringLiteral("cmd%1").arg(id));
    if (info && info->icon)
        a->setIcon(QIcon(QString::fromLatin1(info->icon)));
    if (id == cmd::WordWrap || id == cmd::ConnectDevDb || id == cmd::ProblemsList || id == cmd::DefinesList)
        a->setCheckable(true);
    // The checked state follows the update handler, not the click itself.
    connect(a, &QAction::triggered, this, [this, id] { execute(id); });
    m_actions[id] = a;
    return a;
}

void frmMain::buildMenus()
{
    for (const MenuSpec &spec : menuBarLayout(ServerMode())) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(spec.caption));
        connect(menu, &QMenu::aboutToShow, this, &frmMain::updateCommands);
        for (const Placement &item : spec.items) {
            if (item.beginGroup && !menu->isEmpty())
                menu->addSeparator();
            menu->addAction(makeAction(item.id));
        }
    }
}

QToolBar *frmMain::buildToolbar(const QString &caption, const QString &name, const std::vector<Placement> &items)
{
    QToolBar *bar = addToolBar(caption);
    bar->setObjectName(name);
    for (const Placement &item : items) {
        if (item.beginGroup && !bar->actions().isEmpty())
            bar->addSeparator();
        bar->addAction(makeAction(item.id));
    }
    return bar;
}

void frmMain::BuildCommandBars()
{
    buildMenus();
    buildToolbar(toolbarCaption(), QStringLiteral("toolbar"), mainToolbarLayout(ServerMode()));
    buildToolbar(convertToolbarCaption(), QStringLiteral("convertToolbar"), convertToolbarLayout());

    Highlighters.setHighlighterDir(platform::findProgramFile(QStringLiteral("highlighters")));
    Highlighters.LoadHighlighters();
    sciMain->InitScintilla();
    Highlighters.SetHighlighterEditor(*sciMain, QStringLiteral("SQL"));

    wrapper().setSearchDialogs(&m_searchDialogs);
    m_obj = new frmObj();
    m_obj->wrapper().setSearchDialogs(&m_searchDialogs);
    m_obj->wrapper().setInvalidBytesQuestion([this](qsizetype offset) { return askOpenUnreadableBytes(offset); });
    m_obj->wrapper().setNulBytesQuestion([this](qsizetype offset) { return askOpenNulBytes(offset); });
    m_escapedTextBar = new QDockWidget(escapedBarCaption(), this);
    m_escapedTextBar->setObjectName(QStringLiteral("EscapedTextBar"));
    // The bar is hidden and shown, never closed: closing it would close the object window.
    m_escapedTextBar->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_escapedTextBar->setWidget(m_obj);
    addDockWidget(Qt::BottomDockWidgetArea, m_escapedTextBar);
}

void frmMain::bindShortcuts()
{
    // Bound to the main editor, so the object window keeps its own bindings.
    QWidget *editorWidget = wrapper().widget();
    for (const Shortcut &s : mainShortcuts()) {
        QAction *a = makeAction(s.id);
        a->setShortcut(QKeySequence(QString::fromLatin1(s.keys)));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        editorWidget->addAction(a);
    }
}

void frmMain::execute(int id)
{
    switch (id) {
    case cmd::Cut: sciMain->Cut(); break;
    case cmd::Paste: sciMain->Paste(); break;
    case cmd::Copy: sciMain->Copy(); break;
    case cmd::Undo: sciMain->Undo(); break;
    case cmd::Redo: sciMain->Redo(); break;
    case cmd::DeleteLine: sciMain->DeleteLine(); break;
    case cmd::SelectAll: wrapper().SelectAll(); break;
    case cmd::Save:
        if (ServerMode())
            SaveDefineToServer();
        else
            SaveLocal();
        sciMain->SetFocusEx();
        break;
    case cmd::SaveAs:
        SaveLocalAs();
        sciMain->SetFocusEx();
        break;
    case cmd::Open: openCommand(); break;
    case cmd::Exit:
        if (endProgram)
            endProgram();
        break;
    case cmd::WordWrap: wrapper().LetWordWrap(!wrapper().WordWrap()); break;
    case cmd::EscapedFile: m_escapedTextBar->setVisible(!m_escapedTextBar->isVisible()); break;
    case cmd::Escape: escapeCommand(); break;
    case cmd::Restore: restoreCommand(); break;
    case cmd::ConnectDevDb: connectDevDatabase(); break;
    case cmd::Find: sciMain->DoFind(); break;
    case cmd::FindNext: sciMain->FindNext(); break;
    case cmd::Replace: sciMain->DoReplace(); break;
    case cmd::Goto: sciMain->DoGoto(); break;
    case cmd::ProblemsList: m_problemsDock->setVisible(!m_problemsDock->isVisible()); break;
    case cmd::DefinesList: m_definesDock->setVisible(!m_definesDock->isVisible()); break;
    case cmd::FindDefine: m_definesDock->focusFilter(); break;
    case cmd::NextProblem: goToNextProblem(); break;
    case cmd::PreviousProblem: goToPreviousProblem(); break;
    case cmd::Print: printCommand(); break;
    case cmd::ExportHtml: exportHtmlCommand(); break;
    default: break; // about does nothing
    }
    updateCommands();
}

void frmMain::updateCommands()
{
    if (QAction *wrap = action(cmd::WordWrap))
        wrap->setChecked(wrapper().WordWrap());
    if (QAction *connectDb = action(cmd::ConnectDevDb))
        connectDb->setChecked(SchemaCompletionOn);
    if (QAction *problems = action(cmd::ProblemsList); problems && m_problemsDock)
        problems->setChecked(m_problemsDock->isVisible());
    if (QAction *defines = action(cmd::DefinesList); defines && m_definesDock)
        defines->setChecked(m_definesDock->isVisible());
}
