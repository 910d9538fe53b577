#include "app/RecentFiles.h"

namespace {
const QString kApp = QStringLiteral("Plendor");
const QString kSection = QStringLiteral("RecentFiles");
QString keyOf(int i) { return QStringLiteral("File%1").arg(i + 1); }
} // namespace

QStringList RecentFiles::list() const
{
    QStringList paths;
    for (int i = 0; i < kLimit; ++i) {
        const QString path = m_settings.read(kApp, kSection, keyOf(i), QString());
        // A store edited by hand may hold gaps or the same file twice.
        if (!path.isEmpty() && !paths.contains(path))
            paths << path;
    }
    return paths;
}

void RecentFiles::add(const QString &path)
{
    if (path.isEmpty())
        return;
    QStringList paths = list();
    paths.removeAll(path);
    paths.prepend(path);
    store(paths);
}

void RecentFiles::remove(const QString &path)
{
    QStringList paths = list();
    if (paths.removeAll(path) > 0)
        store(paths);
}

void RecentFiles::clear() { store({}); }

void RecentFiles::store(const QStringList &paths)
{
    for (int i = 0; i < kLimit; ++i)
        m_settings.write(kApp, kSection, keyOf(i), i < paths.size() ? paths.at(i) : QString());
}
