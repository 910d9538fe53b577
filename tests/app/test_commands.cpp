#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QDockWidget>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

namespace {
using Commands = MainWindowFixture;

// The command ids of the actions in order, 0 for a separator (the captions are the table's own).
std::vector<int> ids(frmMain &w, const QList<QAction *> &actions)
{
    std::vector<int> out;
    for (const QAction *a : actions) {
        int id = 0;
        for (const CommandInfo &c : allCommands())
            if (!a->isSeparator() && w.action(c.id) == a)
                id = c.id;
        EXPECT_TRUE(a->isSeparator() || id != 0) << a->text().toStdString();
        out.push_back(id);
    }
    return out;
}

QList<QAction *> menu(frmMain &w, int index) { return w.menuBar()->actions().at(index)->menu()->actions(); }

QToolBar *toolbar(frmMain &w, const char *name) { return w.findChild<QToolBar *>(QString::fromLatin1(name)); }

using namespace cmd;
using Ids = std::vector<int>;

TEST_F(Commands, LocalModeMenusAndToolbars)
{
    auto w = makeWindow();
    ASSERT_EQ(w->menuBar()->actions().size(), 4);
    EXPECT_EQ(ids(*w, menu(*w, 0)), (Ids{Open, Save, SaveAs, RecentFiles, 0, ConnectDevDb, 0, Print, ExportHtml, 0, Exit}));
    EXPECT_EQ(ids(*w, menu(*w, 1)), (Ids{Cut, Copy, Paste, 0, Find, Replace}));
    EXPECT_EQ(ids(*w, menu(*w, 2)), (Ids{EscapedFile, ProblemsList, DefinesList}));
    EXPECT_EQ(ids(*w, menu(*w, 3)), Ids{About});
    QToolBar *bar = toolbar(*w, "toolbar");
    EXPECT_EQ(ids(*w, bar->actions()),
              (Ids{Open, Save, 0, Cut, Copy, Paste, Undo, Redo, 0, WordWrap, 0, ConnectDevDb}));
    QToolBar *convert = toolbar(*w, "convertToolbar");
    EXPECT_EQ(ids(*w, convert->actions()), (Ids{Escape, 0, Restore}));
    for (QToolBar *b : {bar, convert}) {
        for (const QAction *a : b->actions())
            EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->text().toStdString();
    }
}

TEST_F(Commands, ServerModeMenusAndConnectToggle)
{
    auto w = makeWindow("getHost=srv,OpenFileName=/nonexistent");
    EXPECT_EQ(ids(*w, menu(*w, 0)), (Ids{Save, 0, SaveAs, 0, Print, ExportHtml, 0, Exit}));
    QToolBar *bar = toolbar(*w, "toolbar");
    EXPECT_EQ(ids(*w, bar->actions()).front(), Save);
    QAction *connectDb = w->action(cmd::ConnectDevDb);
    ASSERT_TRUE(bar->actions().contains(connectDb));
    connectDb->trigger();
    EXPECT_TRUE(w->SchemaCompletionOn);
    EXPECT_TRUE(connectDb->isChecked());
    connectDb->trigger();
    EXPECT_FALSE(connectDb->isChecked());
}

TEST_F(Commands, ShortcutsReachTheirCommands)
{
    auto w = makeWindow();
    w->show();
    QWidget *editor = w->wrapper().widget();
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->wrapper().SetText(QStringLiteral("one\ntwo\nthree"));
    w->wrapper().SetSel(5, 5);
    QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("one\nthree"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("one\ntwo\nthree"));
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w->wrapper().GetSelText(), QStringLiteral("one\ntwo\nthree"));

    // Ctrl+D is not the delete-line command inside the object window (the component keeps its own).
    QWidget *objEditor = w->objWindow().wrapper().widget();
    w->objWindow().wrapper().SetText(QStringLiteral("x\ny"));
    w->objWindow().wrapper().SetSel(0, 0);
    objEditor->setFocus();
    QTest::keyClick(objEditor, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(w->objWindow().wrapper().GetText(), QStringLiteral("x\r\nx\ny")) << "the component's own: duplicate";
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("one\ntwo\nthree"));
    // An unnamed document: a save that leaked here would open the save dialog.
    QTest::keyClick(objEditor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(prompt.suggestedSaveNames, QStringList()) << "Ctrl+S does nothing in the object window";
    EXPECT_EQ(prompt.asked, QStringList());
}

TEST_F(Commands, WordWrapAndTheEscapedBarToggle)
{
    auto w = makeWindow();
    w->show();
    QAction *wrap = w->action(cmd::WordWrap);
    wrap->trigger();
    EXPECT_TRUE(w->wrapper().WordWrap());
    EXPECT_TRUE(wrap->isChecked());
    wrap->trigger();
    EXPECT_FALSE(wrap->isChecked());

    EXPECT_TRUE(w->EscapedTextBar()->isVisible());
    w->execute(cmd::EscapedFile);
    EXPECT_FALSE(w->EscapedTextBar()->isVisible());
    w->execute(cmd::EscapedFile);
    EXPECT_TRUE(w->EscapedTextBar()->isVisible());
    // Neither has anything to do: no dialog, no message, no change to the text or the window.
    w->wrapper().SetText(QStringLiteral("kept"));
    w->wrapper().SetSel(1, 3);
    w->bTextChanged = false;
    for (const int id : {int(cmd::About), 99999}) {
        w->execute(id);
        EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("kept"));
        EXPECT_EQ(w->wrapper().GetSelText(), QStringLiteral("ep"));
        EXPECT_FALSE(w->bTextChanged);
        EXPECT_TRUE(w->EscapedTextBar()->isVisible());
        EXPECT_EQ(prompt.dialogsShown + prompt.openDialogsShown + prompt.suggestedSaveNames.size(), 0);
        EXPECT_TRUE(prompt.titles.isEmpty()) << id;
    }
}

TEST_F(Commands, EscapeThenRestoreGivesTheTextBack)
{
    auto w = makeWindow();
    const QString readable = QStringLiteral("<define name=\"a\"><sql type=\"select\">x>1 & y<2</sql></define>");
    w->wrapper().SetText(readable);
    w->execute(cmd::Escape);
    EXPECT_EQ(w->objWindow().wrapper().GetText(),
              QStringLiteral("<define name=&quot;a&quot;&gt;<sql type=\"select&quot;&gt;x&gt;1 &amp; y&lt;2</sql></define>"));
    EXPECT_FALSE(w->bTextChanged);
    w->wrapper().SetText(QString());
    w->execute(cmd::Restore);
    EXPECT_EQ(w->wrapper().GetText(), readable);
}

TEST_F(Commands, ExitAsksNothingAndStoresNothing)
{
    auto w = makeWindow();
    w->show();
    w->bTextChanged = true;
    w->execute(cmd::Exit);
    EXPECT_EQ(programEnded, 1);
    EXPECT_TRUE(prompt.asked.isEmpty());
    EXPECT_EQ(settings.read("Plendor", "Settings", "MainLeft", "absent"), QStringLiteral("absent"));
}

TEST_F(Commands, CloseStoresTheLayoutAndClosesTheObjectWindow)
{
    {
        auto w = makeWindow();
        w->show();
        w->execute(cmd::EscapedFile); // hide the bar
        EXPECT_TRUE(w->close());
        EXPECT_EQ(programEnded, 1) << "closing the object window ends the program";
    }
    EXPECT_FALSE(settings.read("Plendor", "frmMain", "Layout", "").isEmpty());
    auto again = makeWindow();
    again->show();
    EXPECT_FALSE(again->EscapedTextBar()->isVisible()) << "the layout came back";
}
} // namespace
