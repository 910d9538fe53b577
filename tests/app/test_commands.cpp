#include "app/CommandIds.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QDockWidget>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

namespace {
using Commands = MainWindowFixture;

QStringList entries(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *a : actions)
        out << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return out;
}

QList<QAction *> menu(frmMain &w, int index) { return w.menuBar()->actions().at(index)->menu()->actions(); }

QToolBar *toolbar(frmMain &w, const char *name) { return w.findChild<QToolBar *>(QString::fromLatin1(name)); }

TEST_F(Commands, LocalModeMenusAndToolbars)
{
    auto w = makeWindow();
    EXPECT_EQ(entries(w->menuBar()->actions()),
              (QStringList{"文件(&R)", "编辑(&E)", "视图(&V)", "帮助(&V)"}));
    EXPECT_EQ(entries(menu(*w, 0)), (QStringList{"打开(&O)", "保存(&S)", "另存为(&A)", "最近的文件(&F)", "|", "连接到开发数据库", "|", "打印(&P)...",
                                                "导出 HTML(&H)...", "|", "退出(&X)"}));
    EXPECT_EQ(entries(menu(*w, 1)), (QStringList{"剪贴(&T)", "复制(&C)", "粘贴(&P)", "|", "查找(&F)", "替换(&E)"}));
    EXPECT_EQ(entries(menu(*w, 2)), (QStringList{"转义后文件(&S)", "问题列表(&P)", "定义列表(&D)"}));
    EXPECT_EQ(entries(menu(*w, 3)), QStringList{"关于(&A)"});
    QToolBar *bar = toolbar(*w, "toolbar");
    EXPECT_EQ(entries(bar->actions()), (QStringList{"打开(&O)", "保存(&S)", "|", "剪贴(&T)", "复制(&C)", "粘贴(&P)",
                                                    "撤销(&C)", "恢复(&P)", "|", "自动换行", "|", "连接到开发数据库"}));
    QToolBar *convert = toolbar(*w, "convertToolbar");
    EXPECT_EQ(entries(convert->actions()), (QStringList{"转义", "|", "还原"}));
    for (QToolBar *b : {bar, convert}) {
        for (const QAction *a : b->actions())
            EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->text().toStdString();
    }
}

TEST_F(Commands, ServerModeMenusAndConnectToggle)
{
    auto w = makeWindow("getHost=srv,OpenFileName=/nonexistent");
    EXPECT_EQ(entries(menu(*w, 0)), (QStringList{"保存(&S)", "|", "另存为(&A)", "|", "打印(&P)...", "导出 HTML(&H)...", "|", "退出(&X)"}));
    QToolBar *bar = toolbar(*w, "toolbar");
    EXPECT_EQ(entries(bar->actions()).first(), QStringLiteral("保存(&S)"));
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
    objEditor->setFocus();
    QTest::keyClick(objEditor, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(w->objWindow().wrapper().GetText().contains(QStringLiteral("y")));
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("one\ntwo\nthree"));
    QTest::keyClick(objEditor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(prompt.saveFiles.empty() && prompt.asked.isEmpty()) << "Ctrl+S does nothing in the object window";
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
    w->execute(cmd::About); // neither has anything to do
    w->execute(99999);
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
