#pragma once
// The defines of a text in order, as the check's one pass over it reads them: for the outline
// beside the editor, and for finding a define by its name.

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

struct DefineOutlineEntry {
    qsizetype offset = 0; // the "<" of its start tag, in bytes as the component counts positions
    qsizetype end = 0;    // after its end tag, or where the text ends when it has none
    qsizetype line = 1;   // of its start tag, from 1
    QString name;         // as written; empty when missing
    QString caption;      // its caption attribute, or empty
    std::uint16_t statements = 0; // a bit per tag of the vocabulary used inside it

    // "sql, select, exec": the statement tags inside it, in the vocabulary's order.
    QString statementList() const;
};

using DefineOutline = std::vector<DefineOutlineEntry>;

// The innermost define that holds offset, or -1.
qsizetype defineAt(const DefineOutline &outline, qsizetype offset);
// The first define of that name (as the check counts a later one a duplicate), or -1.
qsizetype defineNamed(const DefineOutline &outline, const QString &name);
// Fills in the lines of entries sorted by offset, in one pass over the text.
void numberOutlineLines(QByteArrayView utf8, DefineOutline &outline);
