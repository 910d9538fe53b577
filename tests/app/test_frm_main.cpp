#include "platform/Twips.h"
#include "support/MainWindowFixture.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using platform::Answer;

namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, StartsInLocalModeWithTheBaseCaption)
{
    auto owned = makeWindow();
    frmMain &window = *owned;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("字符转义"));
    EXPECT_EQ(window.strBaseCaption, QStringLiteral("字符转义"));
    EXPECT_TRUE(window.acceptDrops());
    EXPECT_TRUE(window.Timer1.isActive());
    EXPECT_TRUE(window.wrapper().AutoIndent());
    EXPECT_TRUE(window.wrapper().ContextMenu());
    EXPECT_EQ(window.wrapper().SendEditor(QsciScintillaBase::SCI_GETTABWIDTH), 5);
    EXPECT_EQ(window.wrapper().SendEditor(QsciScintillaBase::SCI_GETCARETWIDTH), 2);
    EXPECT_EQ(window.wrapper().SendEditor(QsciScintillaBase::SCI_AUTOCGETSEPARATOR), '|');
    EXPECT_EQ(window.wrapper().SendEditor(QsciScintillaBase::SCI_GETMARGINWIDTHN, 1), 5);
    EXPECT_EQ(window.wrapper().SendEditor(QsciScintillaBase::SCI_GETMARGINWIDTHN, 2), 0);
}

TEST_F(MainWindow, EditorFillsTheClientAreaAndFollowsResizes)
{
    auto owned = makeWindow();
    frmMain &window = *owned;
    window.show();
    window.resize(700, 500);
    QCoreApplication::processEvents();
    const QRect area = window.centralWidget()->geometry();
    EXPECT_EQ(window.wrapper().widget()->geometry(), area);
    window.resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.wrapper().widget()->geometry(), window.centralWidget()->geometry());
}

TEST_F(MainWindow, TypingMarksTheDocumentChanged)
{
    auto owned = makeWindow();
    frmMain &window = *owned;
    EXPECT_FALSE(window.bTextChanged);
    QTest::keyClicks(window.wrapper().widget(), QStringLiteral("s"));
    EXPECT_TRUE(window.bTextChanged);
}

TEST_F(MainWindow, CloseQuestionAnswers)
{
    struct Row {
        Answer answer;
        bool closes;
    };
    for (const Row row : {Row{Answer::Cancel, false}, Row{Answer::No, true}, Row{Answer::Yes, false}}) {
        auto owned = makeWindow();
    frmMain &window = *owned;
        window.show();
        window.bTextChanged = true;
        prompt.answers = {row.answer};
        prompt.asked.clear();
        EXPECT_EQ(window.close(), row.closes);
        EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("文件已修改,是否保存?")});
    }
    auto ownedClean = makeWindow();
    frmMain &clean = *ownedClean;
    clean.show();
    prompt.asked.clear();
    EXPECT_TRUE(clean.close());
    EXPECT_TRUE(prompt.asked.isEmpty()) << "nothing to save, nothing asked";
}

TEST_F(MainWindow, WindowPositionIsKeptAcrossStarts)
{
    {
        auto ownedFirst = makeWindow();
        frmMain &first = *ownedFirst;
        EXPECT_EQ(first.pos(), QPoint(platform::twipsToPixelsX(1000), platform::twipsToPixelsY(1000)));
        first.show();
        first.move(120, 90);
        first.resize(640, 480);
        EXPECT_TRUE(first.close());
    }
    auto ownedSecond = makeWindow();
    frmMain &second = *ownedSecond;
    EXPECT_EQ(second.pos(), QPoint(120, 90));
    EXPECT_EQ(second.size(), QSize(640, 480));
}

TEST_F(MainWindow, MinimisedCloseKeepsTheStoredPosition)
{
    settings.write("Plendor", "Settings", "MainLeft", "1500");
    auto owned = makeWindow();
    frmMain &window = *owned;
    window.showMinimized();
    window.move(5, 5);
    if (!window.isMinimized())
        GTEST_SKIP() << "this platform does not minimise";
    window.close();
    EXPECT_EQ(settings.read("Plendor", "Settings", "MainLeft", ""), QStringLiteral("1500"));
}

TEST_F(MainWindow, ServerModeTitleUsesTheUploadName)
{
    auto owned = makeWindow(QStringLiteral("getHost=h,UpLoadFileName=bill.xml,OpenFileName=/nonexistent"));
    frmMain &window = *owned;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("字符转义[bill.xml]"));
    EXPECT_FALSE(window.acceptDrops());
    EXPECT_FALSE(window.Timer1.isActive());
}
} // namespace
