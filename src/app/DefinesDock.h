#pragma once
// The dock "定义" beside "问题": the defines of the text in order, a filter box over them. Return
// in the box or on a row, or a double-click, asks for the caret to go to that define; Escape asks
// to go back to the editor. The define holding the caret is the current row.

#include "app/DefinesModel.h"

#include <QDockWidget>

class QLineEdit;
class QTreeView;

class DefinesDock : public QDockWidget {
    Q_OBJECT
public:
    explicit DefinesDock(QWidget *parent = nullptr);

    DefinesModel &model() { return m_model; }
    QLineEdit *filterBox() const { return m_filter; }
    QTreeView *view() const { return m_view; }

    void showOutline(std::shared_ptr<const DefineOutline> outline);
    // Marks the define that holds this byte offset as the current row (none: no current row).
    void followCaret(qsizetype offset);
    // Shows the dock and puts the focus in its filter box, its text selected.
    void focusFilter();

signals:
    void defineChosen(qsizetype offset);
    void leave();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(const QModelIndex &index);
    void markEntry(qsizetype entry);

    DefinesModel m_model;
    QLineEdit *m_filter;
    QTreeView *m_view;
    qsizetype m_caretEntry = -1;
    qsizetype m_caret = -1;
};
