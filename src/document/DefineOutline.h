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
    // Its name as written (empty when missing) and its caption attribute, in the outline's texts.
    qsizetype nameAt = 0;
    qsizetype nameSize = 0;
    qsizetype captionAt = 0;
    qsizetype captionSize = 0;
    std::uint16_t statements = 0; // a bit per tag of the vocabulary used inside it

    // "sql, select, exec": the statement tags inside it, in the vocabulary's order.
    QString statementList() const;
};

// The entries in order, and every name and caption in one text: tens of thousands of defines
// cost two allocations, not two each, wherever the outline is made or let go.
class DefineOutline {
public:
    void add(DefineOutlineEntry entry, QByteArrayView utf8Name, QByteArrayView utf8Caption);
    QStringView name(const DefineOutlineEntry &e) const { return QStringView(m_texts).mid(e.nameAt, e.nameSize); }
    QStringView caption(const DefineOutlineEntry &e) const
    {
        return QStringView(m_texts).mid(e.captionAt, e.captionSize);
    }

    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    void clear()
    {
        m_entries.clear();
        m_texts.clear();
    }
    DefineOutlineEntry &operator[](size_t i) { return m_entries[i]; }
    const DefineOutlineEntry &operator[](size_t i) const { return m_entries[i]; }
    const DefineOutlineEntry &back() const { return m_entries.back(); }
    std::vector<DefineOutlineEntry>::iterator begin() { return m_entries.begin(); }
    std::vector<DefineOutlineEntry>::iterator end() { return m_entries.end(); }
    std::vector<DefineOutlineEntry>::const_iterator begin() const { return m_entries.begin(); }
    std::vector<DefineOutlineEntry>::const_iterator end() const { return m_entries.end(); }

private:
    std::vector<DefineOutlineEntry> m_entries;
    QString m_texts;
};

// The innermost define that holds offset, or -1.
qsizetype defineAt(const DefineOutline &outline, qsizetype offset);
// The first define of that name (as the check counts a later one a duplicate), or -1.
qsizetype defineNamed(const DefineOutline &outline, const QString &name);
// Fills in the lines of entries sorted by offset, in one pass over the text.
void numberOutlineLines(QByteArrayView utf8, DefineOutline &outline);
