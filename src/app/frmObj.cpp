#include "app/frmObj.h"

#include "app/CommandIds.h"
#include "app/FormEditorSettings.h"
#include "platform/ProgramFolder.h"
#include "platform/Twips.h"
#include "platform/WindowSystem.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

using platform::WindowSystem;

frmObj::frmObj(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmObj"));
    setWindowTitle(QStringLiteral("Form2"));
    endProgram = [] { QCoreApplication::exit(0); };
    m_hwnd = WindowSystem::instance().createWindow(&platform::defWindowProc, this, this);

    sciMain = std::make_unique<usrScintilla>(m_hwnd);
    sciMain->setObjectName(QStringLiteral("sciMain"));
    Highlighters.setHighlighterDir(platform::findProgramFile(QStringLiteral("highlighters")));
    Highlighters.LoadHighlighters();
    sciMain->InitScintilla();
    Highlighters.SetHighlighterEditor(*sciMain, QStringLiteral("SQL"));
    sciMain->setContextMenu(true);
    applyFormEditorSettings(wrapper());
    bindShortcuts();
}

frmObj::~frmObj()
{
    sciMain->CloseScintilla();
    WindowSystem::instance().destroyWindow(m_hwnd);
}

void frmObj::bindShortcuts()
{
    // Bound to this window only, so the main window's commands never reach this editor.
    const std::pair<const char *, int> bindings[] = {
        {"Ctrl+S", cmd::Save}, {"Ctrl+X", cmd::Cut},     {"Ctrl+C", cmd::Copy},
        {"Ctrl+V", cmd::Paste}, {"Ctrl+A", cmd::SelectAll}, {"Ctrl+Z", cmd::Undo},
        {"Ctrl+Y", cmd::Redo}, {"Ctrl+F", cmd::Find},    {"F3", cmd::FindNext},
    };
    for (const auto &[keys, id] : bindings) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id = id] { execute(id); });
        addAction(action);
    }
}

void frmObj::execute(int id)
{
    switch (id) {
    case cmd::Cut: sciMain->Cut(); break;
    case cmd::Copy: sciMain->Copy(); break;
    case cmd::Paste: sciMain->Paste(); break;
    case cmd::SelectAll: wrapper().SelectAll(); break;
    case cmd::Undo: sciMain->Undo(); break;
    case cmd::Redo: sciMain->Redo(); break;
    case cmd::Find: sciMain->DoFind(); break;
    case cmd::FindNext: sciMain->FindNext(); break;
    default: break; // Ctrl+S does nothing here
    }
}

void frmObj::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    sciMain->MoveIt(0, 0, static_cast<int>(platform::pixelsToTwipsX(width())),
                    static_cast<int>(platform::pixelsToTwipsY(height())));
}

void frmObj::closeEvent(QCloseEvent *event)
{
    sciMain->CloseScintilla();
    event->accept();
    if (endProgram)
        endProgram();
}
