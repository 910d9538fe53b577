// The File menu's recent files: order, limit and the settings store; opening, a missing file,
// clearing, and server mode without them.

#include "app/CommandIds.h"
#include "app/RecentFiles.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QMenu>

using platform::Answer;

namespace {
using RecentFilesMenu = MainWindowFixture;

QStringList captions(QMenu &menu)
{
    QStringList out;
    for (const QAction *a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return out;
}

QAction *entry(QMenu &menu, const QString &caption)
{
    for (QAction *a : menu.actions()) {
        if (a->text() == caption)
            return a;
    }
    return nullptr;
}

TEST_F(RecentFilesMenu, KeepsTheLastEightMostRecentFirstAndMovesAReopenedFileToTheFront)
{
    RecentFiles recent(settings);
    for (int i = 1; i <= 10; ++i)
        recent.add(QStringLiteral("/f/%1.xml").arg(i));
    recent.add(QStringLiteral("/f/5.xml"));
    EXPECT_EQ(recent.list(), (QStringList{"/f/5.xml", "/f/10.xml", "/f/9.xml", "/f/8.xml", "/f/7.xml", "/f/6.xml",
                                          "/f/4.xml", "/f/3.xml"}));
    recent.remove(QStringLiteral("/f/9.xml"));
    EXPECT_EQ(recent.list().size(), 7);
    EXPECT_FALSE(recent.list().contains(QStringLiteral("/f/9.xml")));
    // A store edited by hand: gaps and a repeated file.
    settings.write("Plendor", "RecentFiles", "File1", QString());
    settings.write("Plendor", "RecentFiles", "File3", QStringLiteral("/f/8.xml"));
    EXPECT_EQ(recent.list().first(), QStringLiteral("/f/10.xml"));
    EXPECT_EQ(recent.list().count(QStringLiteral("/f/8.xml")), 1);
    recent.clear();
    EXPECT_TRUE(recent.list().isEmpty());
}

TEST_F(RecentFilesMenu, OpenedAndSavedFilesAreListedAcrossStartsAndOpenFromTheMenu)
{
    writeFile(path("a&b.xml"), "<define name=\"a\"/>");
    writeFile(path("two.xml"), "two");
    {
        auto w = makeWindow();
        prompt.openFiles = {path("a&b.xml")};
        w->openCommand();
        w->wrapper().SetText(QStringLiteral("new"));
        prompt.saveFiles = {path("saved.xml")};
        w->SaveLocalAs();
        prompt.openFiles = {path("two.xml")};
        w->openCommand();
    }
    auto w = makeWindow();
    QMenu &menu = *w->recentFilesMenu();
    EXPECT_EQ(captions(menu), (QStringList{"&1 " + path("two.xml"), "&2 " + path("saved.xml"),
                                           "&3 " + QString(path("a&b.xml")).replace("&", "&&"), "|", "清除列表"}));
    ASSERT_EQ(w->action(cmd::RecentFiles)->menu(), &menu);

    entry(menu, "&3 " + QString(path("a&b.xml")).replace("&", "&&"))->trigger();
    EXPECT_EQ(w->strFileName, path("a&b.xml"));
    EXPECT_EQ(captions(menu).first(), "&1 " + QString(path("a&b.xml")).replace("&", "&&"));

    // A changed document asks first, as every open does.
    w->bTextChanged = true;
    prompt.answers = {Answer::No};
    entry(menu, "&2 " + path("two.xml"))->trigger();
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("内容已被修改,是否保存?")});
    EXPECT_EQ(w->strFileName, path("two.xml"));
}

TEST_F(RecentFilesMenu, AMissingFileSaysSoAndLeavesTheListAndClearEmptiesIt)
{
    RecentFiles(settings).add(path("kept.xml"));
    RecentFiles(settings).add(path("gone.xml"));
    writeFile(path("kept.xml"), "kept");
    auto w = makeWindow();
    QMenu &menu = *w->recentFilesMenu();
    entry(menu, "&1 " + path("gone.xml"))->trigger();
    EXPECT_EQ(prompt.informed,
              QStringList{QStringLiteral("文件 %1 不存在,已从最近的文件中移除。").arg(path("gone.xml"))});
    EXPECT_TRUE(w->strFileName.isEmpty());
    EXPECT_EQ(captions(menu), (QStringList{"&1 " + path("kept.xml"), "|", "清除列表"}));

    entry(menu, QStringLiteral("清除列表"))->trigger();
    EXPECT_EQ(captions(menu), QStringList{"清除列表"});
    EXPECT_FALSE(entry(menu, QStringLiteral("清除列表"))->isEnabled());
    EXPECT_TRUE(RecentFiles(settings).list().isEmpty());
}

TEST_F(RecentFilesMenu, ServerModeHasNone)
{
    RecentFiles(settings).add(path("local.xml"));
    auto w = makeWindow("getHost=srv,OpenFileName=/nonexistent");
    EXPECT_EQ(w->action(cmd::RecentFiles), nullptr);
    EXPECT_EQ(w->recentFilesMenu(), nullptr);
}
} // namespace
