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

QString findProgramFile(const QString &name)
{
    const QString own = QDir(programFolder()).filePath(name);
    if (QFileInfo::exists(own))
        return own;
    const QString shared = QDir(sharedDataFolder()).filePath(name);
    return QFileInfo::exists(shared) ? shared : own;
}

} // namespace platform
