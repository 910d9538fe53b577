#pragma once
// Inputs the benchmarks share: a realistic define document of a chosen size, in the forms the
// editor and plendor-cli meet, and a rule file of site rules.

#include <QByteArray>
#include <QString>

struct DefineDocument {
    QByteArray readableUtf8;
    QByteArray storedUtf8;
    QByteArray readableGbk;
    QByteArray storedGbk;
};

enum class DefineForm { ReadableUtf8, StoredUtf8, ReadableGbk, StoredGbk };

// Defines of varied SQL and Chinese text, each with its own name, are added until the measured
// form holds at least targetBytes; the same every run. Each block
// is converted on its own, so building takes time linear in the size.
DefineDocument makeDefineDocument(qsizetype targetBytes, DefineForm measured);

// A rule file of count lines in the shapes sites use: tags restored as markup, words renamed,
// and markers that stand in for text during the escape.
QString siteRuleFile(int count);

constexpr qsizetype kMiB = 1024 * 1024;
