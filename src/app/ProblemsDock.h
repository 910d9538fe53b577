#pragma once
// The dock "问题" under the editor: one row per problem of the last check. Double-click or
// Return on a row asks for the caret to go there; F8 goes to the next problem after the caret.

#include "app/ProblemsModel.h"

#include <QDockWidget>

class QTableView;

class ProblemsDock : public QDockWidget {
    Q_OBJECT
public:
    explicit ProblemsDock(QWidget *parent = nullptr);

    ProblemsModel &model() { return m_model; }
    QTableView *view() const { return m_view; }

    void showResult(const DefineCheckResult &result);
    // Selects the next problem after this byte offset and asks to go there; false without problems.
    bool goToNextAfter(qsizetype offset);
    // The same backwards (Shift+F8).
    bool goToPreviousBefore(qsizetype offset);

signals:
    // The caret should go to this byte offset of the text.
    void problemChosen(qsizetype offset);

private:
    void rowActivated(const QModelIndex &index);
    bool goToRow(int row);

    ProblemsModel m_model;
    QTableView *m_view;
};
