#include "platform/Twips.h"
#include "support/MainWindowFixture.h"

#include <QTest>
#include <gtest/gtest.h>

using platform::Answer;

namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, LocalModeTakesDropsAndCommandLinePathsServerModeNeither)
{
    auto local = makeWindow();
    EXPECT_EQ(local->windowTitle(), QStringLiteral("字符转义"));
    EXPECT_TRUE(local->acceptDrops());
    EXPECT_TRUE(local->Timer1.isActive());
    EXPECT_TRUE(local->wrapper().AutoIndent());
    EXPECT_EQ(local->wrapper().SendEditor(QsciScintillaBase::SCI_AUTOCGETSEPARATOR), '|');

    auto server = makeWindow(QStringLiteral("getHost=h,UpLoadFileName=bill.xml,OpenFileName=/nonexistent"));
    EXPECT_FALSE(server->acceptDrops());
    EXPECT_FALSE(server->Timer1.isActive());
}

TEST_F(MainWindow, EditorFillsTheClientAreaAndFollowsResizes)
{
    auto w = makeWindow();
    w->show();
    for (const QSize size : {QSize(700, 500), QSize(400, 300)}) {
        w->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(w->wrapper().widget()->geometry(), w->centralWidget()->geometry());
    }
}

TEST_F(MainWindow, TypingMarksTheDocumentChangedAndCloseAsksAboutIt)
{
    struct Row { Answer answer; bool closes; };
    for (const Row row : {Row{Answer::Cancel, false}, Row{Answer::No, true}, Row{Answer::Yes, false}}) {
        auto w = makeWindow();
        w->show();
        EXPECT_FALSE(w->bTextChanged);
        QTest::keyClicks(w->wrapper().widget(), QStringLiteral("s"));
        EXPECT_TRUE(w->bTextChanged);
        prompt.answers = {row.answer};
        prompt.asked.clear();
        EXPECT_EQ(w->close(), row.closes);
        EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("文件已修改,是否保存?")});
    }
    auto clean = makeWindow();
    clean->show();
    prompt.asked.clear();
    EXPECT_TRUE(clean->close());
    EXPECT_TRUE(prompt.asked.isEmpty()) << "nothing to save, nothing asked";
}

TEST_F(MainWindow, WindowPositionIsKeptAcrossStarts)
{
    {
        auto first = makeWindow();
        EXPECT_EQ(first->pos(), QPoint(platform::twipsToPixelsX(1000), platform::twipsToPixelsY(1000)));
        first->show();
        first->move(120, 90);
        first->resize(640, 480);
        EXPECT_TRUE(first->close());
    }
    auto second = makeWindow();
    EXPECT_EQ(second->pos(), QPoint(120, 90));
    EXPECT_EQ(second->size(), QSize(640, 480));
}

TEST_F(MainWindow, MinimisedCloseKeepsTheStoredPosition)
{
    settings.write("Plendor", "Settings", "MainLeft", "1500");
    auto w = makeWindow();
    w->showMinimized();
    w->move(5, 5);
    if (!w->isMinimized())
        GTEST_SKIP() << "this platform does not minimise";
    w->close();
    EXPECT_EQ(settings.read("Plendor", "Settings", "MainLeft", ""), QStringLiteral("1500"));
}
} // namespace
