#include "app/RuleFileCache.h"

#include "platform/ProgramFolder.h"

#include <QFileInfo>

std::shared_ptr<const KeyWordRules> RuleFileCache::current()
{
    const QString path = platform::findProgramFile(QStringLiteral("KeyWord.txt"));
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (!m_rules || path != m_path || size != m_size || modified != m_modified) {
        m_rules = std::make_shared<const KeyWordRules>(KeyWordRules::load(path));
        m_path = path;
        m_size = size;
        m_modified = modified;
    }
    return m_rules;
}
