#include "link/ResultTable.h"

#include <algorithm>

ResultTable::ResultTable(QStringList columns, qint64 maxCells)
    : m_columns(std::move(columns)),
      m_maxRows(std::max<qint64>(maxCells, 0) / std::max<qsizetype>(m_columns.size(), 1)),
      m_open(true)
{
    m_columnIndex.reserve(m_columns.size());
    // Of two equal names the first counts, as a search from the start would find it.
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_columnIndex.contains(m_columns.at(i)))
            m_columnIndex.insert(m_columns.at(i), i);
    }
}

std::optional<qsizetype> ResultTable::addRow()
{
    if (m_rowCount >= m_maxRows)
        return std::nullopt;
    return m_rowCount++;
}

bool ResultTable::setValue(qsizetype row, const QString &column, const QString &value)
{
    const int index = columnIndex(column);
    if (index < 0 || row < 0 || row >= m_rowCount)
        return false;
    m_values.insert(cellKey(row, index), value.left(kMaxValueLength));
    return true;
}

QString ResultTable::value(qsizetype row, const QString &column) const
{
    const int index = columnIndex(column);
    if (index < 0 || row < 0 || row >= m_rowCount)
        return {};
    return m_values.value(cellKey(row, index));
}
