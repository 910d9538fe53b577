#pragma once
// The define language's fixed completion lists and the two operations on list texts.
// A list text is its items joined by "|"; database items read name:caption.

#include <QString>
#include <QStringView>

QString TagList();
QString AtVariableList();
QString SessVariableList();
QString MemVariableList();
QString CodeVariableList();

enum class FilterMode { StartsWith, Contains };

// The items of list (in order, unchanged) whose upper-cased text matches the upper-cased search
// text used as a wildcard pattern ("*", "?", "#", [set], [!set]), anchored at the start or
// anywhere. A search text that is not a valid pattern (an unclosed "[") yields the empty list.
QString FilterList(QStringView list, QStringView search, FilterMode mode);

// The text before the first ":" of a database item (the whole item when it has none).
QString NameBeforeColon(QStringView item);
