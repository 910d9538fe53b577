#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {
QString &overriddenFolder()
{
    static QString folder;
    return folder;
}

QString &overriddenSharedFolder()
{
    static QString folder;
    return folder;
}

QString &overriddenSiteFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QStringLiteral(".");
}

void setProgramFolder(const QString &folder) { overriddenFolder() = folder; }

QString executableName()
{
    if (!QCoreApplication::instance())
        return QStringLiteral("plendor");
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString sharedDataFolder()
{
    if (!overriddenSharedFolder().isEmpty())
        return overriddenSharedFolder();
    const QString exeFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QStringLiteral(".");
    return QDir::cleanPath(exeFolder + QStringLiteral("/../share/plendor"));
}

void setSharedDataFolder(const QString &folder) { overriddenSharedFolder() = folder; }

bool isInstalledProgram() { return QFileInfo(sharedDataFolder()).isDir(); }

QString siteConfigFolder()
{
    return overriddenSiteFolder().isEmpty() ? QStringLiteral("/etc/plendor") : overriddenSiteFolder();
}

void setSiteConfigFolder(const QString &folder) { overriddenSiteFolder() = folder; }

QString findProgramFile(const QString &name)
{
    const QString own = QDir(programFolder()).filePath(name);
    if (QFileInfo::exists(own) || !isInstalledProgram())
        return own;
    for (const QString &folder : {siteConfigFolder(), sharedDataFolder()}) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path))
            return path;
    }
    return own;
}

} // namespace platform
