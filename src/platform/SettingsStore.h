#pragma once
// Per-user settings addressed by application, section and key. Every value is a text.

#include <QString>
#include <QStringList>
#include <memory>

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual QString read(const QString &app, const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;
    virtual void write(const QString &app, const QString &section, const QString &key, const QString &value) = 0;

    // A stored text that is not a number yields the default.
    double readNumber(const QString &app, const QString &section, const QString &key, double defaultValue) const;
    void writeNumber(const QString &app, const QString &section, const QString &key, double value);
    // Messages for the user about settings that could not be used (each given once).
    virtual QStringList takeNotices() { return {}; }
};

// An INI file per application in a folder (the user's configuration folder by default),
// readable by the user only since the login password is kept there.
class QSettingsStore : public ISettingsStore {
public:
    explicit QSettingsStore(QString folder = QString());
    QString read(const QString &app, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &app, const QString &section, const QString &key, const QString &value) override;

    QString fileFor(const QString &app) const;
    QStringList takeNotices() override;

    // A settings file larger than this is no settings file: it is set aside unread.
    static constexpr qint64 kLargestFile = 1024 * 1024;

private:
    // The file for the application, set aside first when it is too large to be one.
    QString usableFileFor(const QString &app) const;

    QString m_folder;
    mutable QStringList m_notices;
};

// The store the program uses: PLENDOR_SETTINGS_DIR may point it elsewhere (tests, portable use).
std::unique_ptr<ISettingsStore> makeDefaultSettingsStore();
