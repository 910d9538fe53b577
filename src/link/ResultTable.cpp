#include "link/ResultTable.h"

qsizetype ResultTable::addRow()
{
    m_rows.emplace_back(QStringList(QList<QString>(m_columns.size())));
    return rowCount() - 1;
}

int ResultTable::columnIndex(const QString &column) const { return static_cast<int>(m_columns.indexOf(column)); }

bool ResultTable::setValue(qsizetype row, const QString &column, const QString &value)
{
    const int index = columnIndex(column);
    if (index < 0 || row < 0 || row >= rowCount())
        return false;
    m_rows[static_cast<size_t>(row)][index] = value.left(kMaxValueLength);
    return true;
}

QString ResultTable::value(qsizetype row, const QString &column) const
{
    const int index = columnIndex(column);
    if (index < 0 || row < 0 || row >= rowCount())
        return {};
    return m_rows[static_cast<size_t>(row)].at(index);
}
