#pragma once
// An SQL result: ordered column names, rows of text values read by column name, an open flag.
// Its size is bounded in cells, and a row holds only the values set in it, so that a short
// answer describing a wide table cannot make it take memory out of proportion to its data.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class ResultTable {
public:
    // Longest text a column holds.
    static constexpr qsizetype kMaxValueLength = 1'024'000;
    // Most cells a table holds: rows times columns, a row counting at least one.
    static constexpr qint64 kMaxCells = 50'000'000;

    ResultTable() = default;
    explicit ResultTable(QStringList columns, qint64 maxCells = kMaxCells);

    bool isOpen() const { return m_open; }
    const QStringList &columns() const { return m_columns; }
    qsizetype rowCount() const { return m_rowCount; }

    // Appends an empty row and returns its index; std::nullopt when one more row would pass the
    // cell limit.
    std::optional<qsizetype> addRow();
    // Room for this many values of this many characters in all, so that a large answer is held
    // without the copies that growing would make.
    void reserve(qint64 values, qint64 characters);
    // False when the table has no such column or row.
    bool setValue(qsizetype row, const QString &column, const QString &value);
    QString value(qsizetype row, const QString &column) const;
    int columnIndex(const QString &column) const { return m_columnIndex.value(column, -1); }

private:
    // A value set in a row: its place in m_text. Rows are filled in order, so the cells stay
    // sorted by row; a value set again later wins.
    struct Cell {
        qint64 row;
        qint64 start;
        qint32 length;
        qint32 column;
    };

    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    // Every value set, one after another: a cell costs a few bytes beyond its text, and a row
    // with no values costs nothing.
    std::vector<Cell> m_cells;
    QString m_text;
    bool m_cellsInRowOrder = true;
    qsizetype m_rowCount = 0;
    qint64 m_maxRows = 0;
    bool m_open = false;
};
