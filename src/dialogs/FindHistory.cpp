#include "dialogs/FindHistory.h"

#include "platform/AnsiCodec.h"
#include "platform/AtomicWrite.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace FindHistory {
namespace {
QString historyPath(const QString &folder) { return QDir(folder).filePath(QStringLiteral("findList.txt")); }
QString backupPath(const QString &folder) { return QDir(folder).filePath(QStringLiteral("findlist.bak")); }

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = platform::AnsiCodec().decode(file.readAll()).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the text after the last line end
    return lines;
}
} // namespace

QString historyFolder(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    if (!platform::isInstalledProgram() && folder.isDir() && folder.isWritable())
        return programFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        return programFolder; // nowhere better: the write fails and the user is told
    if (!QFileInfo::exists(data)) {
        if (!QDir().mkpath(data))
            return programFolder;
        QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return data;
}

QStringList LoadFindList(const QString &folder) { return readLines(historyPath(folder)); }

bool AddToFindList(const QString &folder, const QString &text, QString *error)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return true;
    // A leftover from an interrupted rewrite is never read.
    QFile::remove(backupPath(folder));
    const QStringList old = readLines(historyPath(folder));
    QStringList lines{text};
    lines += old.mid(0, kMaxEntries - 1);
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += platform::AnsiCodec().encode(line) + "\r\n";
    // Written to "findlist.bak" first; the history file is replaced only once that is complete.
    if (!platform::writeFileAtomically(backupPath(folder), bytes, error))
        return false;
    // Through the one writer rather than a rename, so that a linked history file stays linked.
    const bool written = platform::writeFileAtomically(historyPath(folder), bytes, error);
    QFile::remove(backupPath(folder));
    // What a user searched for is theirs: readable by its owner only, as the settings are.
    if (written)
        QFile::setPermissions(historyPath(folder), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return written;
}

void Recorder::record(const QString &folder, const QString &text)
{
    QString error;
    if (AddToFindList(folder, text, &error) || m_reported)
        return;
    m_reported = true;
    m_prompt.inform(platform::appTitle(), QStringLiteral("查找历史无法保存到 findList.txt: ") + error,
                    platform::Icon::Information);
}

} // namespace FindHistory
