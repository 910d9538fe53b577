#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {
namespace {
QString &overriddenFolder()
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

} // namespace platform
