#pragma once
// The rows of the dock "定义": the defines of the last check, narrowed by a filter (a substring of
// the name or the caption, case ignored). The outline is shared with the check's result, never
// copied; a new one or a new filter resets the rows in one step.

#include "document/DefineOutline.h"

#include <QAbstractTableModel>
#include <memory>

class DefinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, CaptionColumn, StatementsColumn, LineColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setOutline(std::shared_ptr<const DefineOutline> outline);
    void setFilter(const QString &filter);
    const QString &filter() const { return m_filter; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const DefineOutlineEntry *entryAt(int row) const;
    // The row showing the outline's entry, or -1 when the filter hides it.
    int rowOfEntry(qsizetype entry) const;
    const DefineOutline *outline() const { return m_outline.get(); }

private:
    void refilter();
    qsizetype entryOfRow(int row) const;

    std::shared_ptr<const DefineOutline> m_outline;
    QString m_filter;
    std::vector<qsizetype> m_shown; // entries the filter keeps, in order; unused without a filter
};
