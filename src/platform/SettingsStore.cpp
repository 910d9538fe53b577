#include "platform/SettingsStore.h"

#include "platform/AtomicWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>

double ISettingsStore::readNumber(const QString &app, const QString &section, const QString &key,
                                  double defaultValue) const
{
    const QString text = read(app, section, key, QString()).trimmed();
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

void ISettingsStore::writeNumber(const QString &app, const QString &section, const QString &key, double value)
{
    write(app, section, key, QString::number(static_cast<float>(value)));
}

namespace {
// The platform's store compares application names, sections and keys without regard to case:
// every name is folded here and nowhere else.
QString folded(const QString &name) { return name.toLower(); }
QString entryKey(const QString &section, const QString &key) { return folded(section) + QLatin1Char('/') + folded(key); }
} // namespace

QSettingsStore::QSettingsStore(QString folder) : m_folder(std::move(folder))
{
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Plendor");
}

QString QSettingsStore::fileFor(const QString &app) const
{
    return m_folder + QLatin1Char('/') + folded(app) + QStringLiteral(".ini");
}

QString QSettingsStore::usableFileFor(const QString &app) const
{
    const QString path = fileFor(app);
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kLargestFile) {
        const QString aside =
            path + QLatin1Char('.') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss")) +
            QStringLiteral(".too-large");
        if (QFile::rename(path, aside))
            m_notices << QStringLiteral("设置文件 %1 超过 1 MB,已改名为 %2,将使用默认设置。").arg(path, aside);
        else
            m_notices << QStringLiteral("设置文件 %1 超过 1 MB,将使用默认设置。").arg(path);
    }
    return path;
}

QStringList QSettingsStore::takeNotices()
{
    QStringList notices;
    notices.swap(m_notices);
    return notices;
}

QString QSettingsStore::read(const QString &app, const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const QString path = usableFileFor(app);
    if (QFileInfo(path).size() > kLargestFile)
        return defaultValue; // it could not be set aside: never parsed
    QSettings settings(path, QSettings::IniFormat);
    const QVariant value = settings.value(entryKey(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void QSettingsStore::write(const QString &app, const QString &section, const QString &key, const QString &value)
{
    QDir().mkpath(m_folder);
    const QString path = usableFileFor(app);
    // Something else stands where the file belongs: leave it as it is.
    if (QFileInfo(path).isDir() || QFileInfo(path).size() > kLargestFile)
        return;
    // QSettings edits a private copy; the file itself is written by the one writer, so that a
    // linked settings file stays linked and a failed write leaves the old one. A new file is
    // made readable by its owner only before anything is in it (it holds the login password).
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return;
    const QString copy = scratch.filePath(QStringLiteral("settings.ini"));
    QFile current(path);
    if (current.open(QIODevice::ReadOnly)) {
        QFile out(copy);
        if (out.open(QIODevice::WriteOnly))
            out.write(current.readAll());
    }
    {
        QSettings settings(copy, QSettings::IniFormat);
        settings.setValue(entryKey(section, key), value);
        settings.sync();
    }
    QFile edited(copy);
    if (!edited.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = edited.readAll();
    if (!QFile::exists(path)) {
        QFile fresh(path);
        if (fresh.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            fresh.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    if (platform::writeFileAtomically(path, bytes))
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

std::unique_ptr<ISettingsStore> makeDefaultSettingsStore()
{
    return std::make_unique<QSettingsStore>(qEnvironmentVariable("PLENDOR_SETTINGS_DIR"));
}
