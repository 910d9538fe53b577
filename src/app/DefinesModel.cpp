#include "app/DefinesModel.h"

#include <algorithm>

void DefinesModel::setOutline(std::shared_ptr<const DefineOutline> outline)
{
    beginResetModel();
    m_outline = std::move(outline);
    refilter();
    endResetModel();
}

void DefinesModel::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    beginResetModel();
    m_filter = filter;
    refilter();
    endResetModel();
}

void DefinesModel::refilter()
{
    m_shown.clear();
    if (m_filter.isEmpty() || !m_outline)
        return;
    for (qsizetype i = 0; i < static_cast<qsizetype>(m_outline->size()); ++i) {
        const DefineOutlineEntry &e = (*m_outline)[static_cast<size_t>(i)];
        if (m_outline->name(e).contains(m_filter, Qt::CaseInsensitive) ||
            m_outline->caption(e).contains(m_filter, Qt::CaseInsensitive))
            m_shown.push_back(i);
    }
}

int DefinesModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_outline)
        return 0;
    return static_cast<int>(m_filter.isEmpty() ? m_outline->size() : m_shown.size());
}

int DefinesModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

qsizetype DefinesModel::entryOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return m_filter.isEmpty() ? row : m_shown[static_cast<size_t>(row)];
}

const DefineOutlineEntry *DefinesModel::entryAt(int row) const
{
    const qsizetype entry = entryOfRow(row);
    return entry < 0 ? nullptr : &(*m_outline)[static_cast<size_t>(entry)];
}

int DefinesModel::rowOfEntry(qsizetype entry) const
{
    if (!m_outline || entry < 0 || entry >= static_cast<qsizetype>(m_outline->size()))
        return -1;
    if (m_filter.isEmpty())
        return static_cast<int>(entry);
    const auto it = std::lower_bound(m_shown.begin(), m_shown.end(), entry);
    return it != m_shown.end() && *it == entry ? static_cast<int>(it - m_shown.begin()) : -1;
}

QVariant DefinesModel::data(const QModelIndex &index, int role) const
{
    const DefineOutlineEntry *e = entryAt(index.row());
    if (!e)
        return {};
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case NameColumn: return m_outline->name(*e).toString();
        case CaptionColumn: return m_outline->caption(*e).toString();
        case StatementsColumn: return e->statementList();
        case LineColumn: return static_cast<qlonglong>(e->line);
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == LineColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DefinesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn: return QStringLiteral("名称");
    case CaptionColumn: return QStringLiteral("说明");
    case StatementsColumn: return QStringLiteral("语句");
    case LineColumn: return QStringLiteral("行");
    default: return {};
    }
}
