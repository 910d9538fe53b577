#include "app/ProblemsModel.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

void ProblemsModel::setResult(const DefineCheckResult &result)
{
    beginResetModel();
    m_result = result;
    endResetModel();
}

const DefineProblem *ProblemsModel::problemAt(int row) const
{
    return row >= 0 && row < static_cast<int>(m_result.problems.size()) ? &m_result.problems[static_cast<size_t>(row)]
                                                                          : nullptr;
}

int ProblemsModel::rowAfter(qsizetype offset) const
{
    const auto &problems = m_result.problems;
    if (problems.empty())
        return -1;
    const auto next = std::upper_bound(problems.begin(), problems.end(), offset,
                                       [](qsizetype at, const DefineProblem &p) { return at < p.offset; });
    return next == problems.end() ? 0 : static_cast<int>(next - problems.begin());
}

int ProblemsModel::rowBefore(qsizetype offset) const
{
    const auto &problems = m_result.problems;
    if (problems.empty())
        return -1;
    const auto first = std::lower_bound(problems.begin(), problems.end(), offset,
                                        [](const DefineProblem &p, qsizetype at) { return p.offset < at; });
    return static_cast<int>((first == problems.begin() ? problems.end() : first) - problems.begin()) - 1;
}

int ProblemsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_result.problems.size()) + (m_result.omitted() > 0 ? 1 : 0);
}

int ProblemsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ProblemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const DefineProblem *problem = problemAt(index.row());
    if (!problem) {
        if (role == Qt::DisplayRole && index.column() == MessageColumn)
            return omittedProblemsNote(m_result);
        return {};
    }
    const bool error = problem->severity == DefineProblem::Severity::Error;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case KindColumn: return error ? QStringLiteral("错误") : QStringLiteral("警告");
        case LineColumn: return QVariant::fromValue(problem->line);
        case ColumnColumn: return QVariant::fromValue(problem->column);
        case MessageColumn: return problem->message;
        default: return {};
        }
    case Qt::DecorationRole:
        if (index.column() == KindColumn)
            return QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                             : QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ToolTipRole: return problem->message;
    default: return {};
    }
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case KindColumn: return QStringLiteral("类型");
    case LineColumn: return QStringLiteral("行");
    case ColumnColumn: return QStringLiteral("列");
    case MessageColumn: return QStringLiteral("说明");
    default: return {};
    }
}
