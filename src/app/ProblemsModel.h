#pragma once
// The problems of the last check as rows of a table: kind, line, column, message; a last row
// says how many more were found when the list was cut.

#include "document/DefineCheck.h"

#include <QAbstractTableModel>

class ProblemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { KindColumn, LineColumn, ColumnColumn, MessageColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setResult(const DefineCheckResult &result);
    const DefineCheckResult &result() const { return m_result; }

    // The problem a row shows, or nullptr for the row of the rest.
    const DefineProblem *problemAt(int row) const;
    // The row of the first problem after this byte offset, wrapping round to the first; -1 if none.
    int rowAfter(qsizetype offset) const;
    // The row of the last problem before this byte offset, wrapping round to the last; -1 if none.
    int rowBefore(qsizetype offset) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    DefineCheckResult m_result;
};
