#pragma once
// An SQL result: ordered column names, rows of text values read by column name, an open flag.

#include <QString>
#include <QStringList>
#include <vector>

class ResultTable {
public:
    ResultTable() = default;
    explicit ResultTable(QStringList columns) : m_columns(std::move(columns)), m_open(true) {}

    bool isOpen() const { return m_open; }
    const QStringList &columns() const { return m_columns; }
    qsizetype rowCount() const { return static_cast<qsizetype>(m_rows.size()); }

    // Appends an empty row and returns its index.
    qsizetype addRow();
    // False when the table has no such column.
    bool setValue(qsizetype row, const QString &column, const QString &value);
    QString value(qsizetype row, const QString &column) const;
    int columnIndex(const QString &column) const;

    // Longest text a column holds.
    static constexpr qsizetype kMaxValueLength = 1'024'000;

private:
    QStringList m_columns;
    std::vector<QStringList> m_rows;
    bool m_open = false;
};
