// frmMain: the recovery file of the document's unsaved text, and the offer of those that an
// editor which ended without saving left behind.

#include "app/DocumentRecovery.h"
#include "app/LaunchParams.h"
#include "app/MainStatusBar.h"
#include "app/frmMain.h"
#include "recovery/OrphanedRecoveries.h"
#include "recovery/RecoveryFolder.h"

#include <QDebug>
#include <QFileInfo>

using platform::Answer;

namespace {
QMap<QString, QString> serverValues(const LaunchParams &launch)
{
    return {{QStringLiteral("Host"), launch.Host},
            {QStringLiteral("Port"), QString::number(launch.Port)},
            {QStringLiteral("UpLoadFileName"), launch.UpLoadFileName},
            {QStringLiteral("DefineName"), launch.DefineName},
            {QStringLiteral("UserId"), launch.UserId}};
}

// A server document is taken up again by an editor started for the same define file; a local
// or untitled one by an editor in local mode (server mode keeps its one document).
bool belongsHere(const RecoveryRecord &record)
{
    if (!ServerMode())
        return !record.isServer();
    const QMap<QString, QString> here = serverValues(launchParams());
    for (const char *key : {"Host", "Port", "UpLoadFileName"}) {
        if (record.server.value(QLatin1String(key)) != here.value(QLatin1String(key)))
            return false;
    }
    return record.isServer();
}

QString documentName(const RecoveryRecord &record)
{
    if (record.isServer())
        return record.server.value(QStringLiteral("UpLoadFileName"));
    return record.localPath.isEmpty() ? QStringLiteral("未命名") : record.localPath;
}
} // namespace

void frmMain::setUpRecovery()
{
    m_recovery = new DocumentRecovery(wrapper(), recovery::defaultFolder(),
                                      [this](RecoveryRecord &record) {
                                          if (ServerMode())
                                              record.server = serverValues(launchParams());
                                          else
                                              record.localPath = strFileName;
                                      },
                                      this);
    connect(m_recovery, &DocumentRecovery::unavailable, this,
            [this](const QString &message) { m_mainStatusBar->showMessage(message); });
}

bool frmMain::offerRecoveries()
{
    if (!m_recovery->available())
        return false;
    std::vector<recovery::OrphanedRecovery> found =
        recovery::claimOrphans(m_recovery->folder(), [](const QString &line) { qWarning().noquote() << line; });
    for (recovery::OrphanedRecovery &orphan : found) {
        const RecoveryRecord &record = orphan.record;
        if (!belongsHere(record))
            continue; // kept for an editor it belongs to
        const QString when = record.writtenAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const Answer answer =
            m_prompt.ask(platform::appTitle(),
                         QStringLiteral("发现上次未保存的修改:%1(%2)。是否恢复?").arg(documentName(record), when),
                         platform::Buttons::YesNo, platform::Icon::Question, Answer::Yes);
        if (answer != Answer::Yes) {
            orphan.remove();
            continue;
        }
        takeUpRecovered(record);
        orphan.remove();
        return true; // one document: any others wait for the next start
    }
    return false;
}

void frmMain::takeUpRecovered(const RecoveryRecord &record)
{
    if (!record.isServer()) {
        if (!record.localPath.isEmpty() && QFileInfo::exists(record.localPath)) {
            openPath(record.localPath); // its code page, its stamp and the title
        } else {
            strFileName = record.localPath;
            if (!strFileName.isEmpty())
                setTitleFromFileName(strFileName);
        }
    }
    // One undo step back to the text as it is stored.
    wrapper().SetTextBytes(record.text);
    bTextChanged = true;
    // This editor's own copy exists before the old one goes.
    m_recovery->markChanged();
    m_recovery->writeNow();
    m_recovery->waitIdle();
    checkDocumentNow();
}
