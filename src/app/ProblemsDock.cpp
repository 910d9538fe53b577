#include "app/ProblemsDock.h"

#include <QHeaderView>
#include <QTableView>

ProblemsDock::ProblemsDock(QWidget *parent) : QDockWidget(QStringLiteral("问题"), parent), m_view(new QTableView(this))
{
    // The window layout keeps the dock's place and visibility under this name.
    setObjectName(QStringLiteral("ProblemsDock"));
    m_view->setObjectName(QStringLiteral("lstProblems"));
    m_view->setModel(&m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setSectionResizeMode(ProblemsModel::MessageColumn, QHeaderView::Stretch);
    setWidget(m_view);
    // Double-click, or Return on the current row.
    connect(m_view, &QAbstractItemView::activated, this, &ProblemsDock::rowActivated);
}

void ProblemsDock::showResult(const DefineCheckResult &result)
{
    const int row = m_view->currentIndex().row();
    m_model.setResult(result);
    // The list keeps its place across checks, so Return after a re-check still works.
    if (row >= 0 && row < m_model.rowCount())
        m_view->setCurrentIndex(m_model.index(row, 0));
}

bool ProblemsDock::goToNextAfter(qsizetype offset) { return goToRow(m_model.rowAfter(offset)); }

bool ProblemsDock::goToPreviousBefore(qsizetype offset) { return goToRow(m_model.rowBefore(offset)); }

bool ProblemsDock::goToRow(int row)
{
    if (row < 0)
        return false;
    m_view->setCurrentIndex(m_model.index(row, 0));
    m_view->scrollTo(m_model.index(row, 0));
    emit problemChosen(m_model.problemAt(row)->offset);
    return true;
}

void ProblemsDock::rowActivated(const QModelIndex &index)
{
    if (const DefineProblem *problem = m_model.problemAt(index.row()))
        emit problemChosen(problem->offset);
}
