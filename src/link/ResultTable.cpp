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

void ResultTable::reserve(qint64 values, qint64 characters)
{
    m_cells.reserve(static_cast<std::size_t>(values));
    m_text.reserve(static_cast<qsizetype>(characters));
}

bool ResultTable::setValue(qsizetype row, const QString &column, const QString &value)
{
    const int index = columnIndex(column);
    if (index < 0 || row < 0 || row >= m_rowCount)
        return false;
    const QStringView kept = QStringView(value).left(kMaxValueLength);
    if (!m_cells.empty() && m_cells.back().row > row)
        m_cellsInRowOrder = false;
    m_cells.push_back({row, m_text.size(), static_cast<qint32>(kept.size()), index});
    m_text += kept;
    return true;
}

QString ResultTable::value(qsizetype row, const QString &column) const
{
    const int index = columnIndex(column);
    if (index < 0 || row < 0 || row >= m_rowCount)
        return {};
    auto first = m_cells.begin();
    auto last = m_cells.end();
    if (m_cellsInRowOrder) {
        const auto byRow = [](const Cell &cell, qint64 r) { return cell.row < r; };
        first = std::lower_bound(m_cells.begin(), m_cells.end(), qint64(row), byRow);
        last = std::find_if(first, m_cells.end(), [row](const Cell &cell) { return cell.row != row; });
    }
    // The last value set wins.
    for (auto it = last; it != first;) {
        --it;
        if (it->row == row && it->column == index)
            return m_text.mid(it->start, it->length);
    }
    return {};
}
