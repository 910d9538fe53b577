// frmMain: the File menu's recent files (local mode only).

#include "app/CommandIds.h"
#include "app/RecentFiles.h"
#include "app/frmMain.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

void frmMain::setUpRecentFiles()
{
    QAction *entry = action(cmd::RecentFiles);
    if (!entry)
        return; // server mode: its one document
    m_recentMenu = new QMenu(this);
    m_recentMenu->setObjectName(QStringLiteral("mnuRecentFiles"));
    entry->setMenu(m_recentMenu);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &frmMain::fillRecentFilesMenu);
    fillRecentFilesMenu();
}

void frmMain::fillRecentFilesMenu()
{
    // Refilled from inside an entry's own triggered signal: the old entries go later.
    for (QAction *old : m_recentMenu->actions()) {
        m_recentMenu->removeAction(old);
        old->deleteLater();
    }
    const QStringList paths = RecentFiles(m_settings).list();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        // "&" in a path is a letter, not an access key.
        QString caption = QDir::toNativeSeparators(paths.at(i));
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *open = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(QString::number(i + 1), caption));
        const QString path = paths.at(i);
        connect(open, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    if (!paths.isEmpty())
        m_recentMenu->addSeparator();
    QAction *clear = m_recentMenu->addAction(QStringLiteral("清除列表"));
    clear->setEnabled(!paths.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        RecentFiles(m_settings).clear();
        fillRecentFilesMenu();
    });
}

void frmMain::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_prompt.inform(platform::appTitle(), QStringLiteral("文件 %1 不存在,已从最近的文件中移除。").arg(path),
                        platform::Icon::Information);
        RecentFiles(m_settings).remove(path);
        fillRecentFilesMenu();
        return;
    }
    if (askSaveBeforeOpen())
        return;
    openPath(path);
}

void frmMain::rememberRecentFile(const QString &path)
{
    if (!m_recentMenu)
        return;
    RecentFiles(m_settings).add(path);
    fillRecentFilesMenu();
}
