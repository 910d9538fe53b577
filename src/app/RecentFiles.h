#pragma once
// The last local files opened or saved, most recent first, kept in the settings store
// (section "RecentFiles", keys "File1" to "File8").

#include "platform/SettingsStore.h"

#include <QStringList>

class RecentFiles {
public:
    static constexpr int kLimit = 8;

    explicit RecentFiles(ISettingsStore &settings) : m_settings(settings) {}

    QStringList list() const;
    // To the front; a path already listed moves there.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();

private:
    void store(const QStringList &paths);
    ISettingsStore &m_settings;
};
