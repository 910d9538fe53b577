#pragma once
// The rule file as the checks after typing pauses use it: read once, and again only when the
// file found is another one or its size or modification time changed, so that a large rule file
// is not parsed at every pause.

#include "document/DefineEscaping.h"

#include <QDateTime>
#include <QString>
#include <memory>

class RuleFileCache {
public:
    // The rules of the rule file the program would use now.
    std::shared_ptr<const KeyWordRules> current();

private:
    std::shared_ptr<const KeyWordRules> m_rules;
    QString m_path;
    qint64 m_size = -1;
    QDateTime m_modified;
};
