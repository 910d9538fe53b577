#pragma once
// The find history "findList.txt" in the program folder: ANSI text, CRLF lines, newest first,
// at most 52 entries, rewritten through "findlist.bak".

#include <QString>
#include <QStringList>

namespace FindHistory {

constexpr int kMaxEntries = 52;

QStringList LoadFindList(const QString &folder);
// False when the folder could not be written; the history then stays as it was.
bool AddToFindList(const QString &folder, const QString &text);

} // namespace FindHistory
