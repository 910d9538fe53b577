#pragma once
// Messages the user sees from more than one place, worded once.

#include <QString>

namespace platform::messages {

// A search pattern the regular-expression engine rejects.
inline QString invalidPattern(const QString &pattern) { return QStringLiteral("正则表达式无效: ") + pattern; }

} // namespace platform::messages
