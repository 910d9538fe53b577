#include "app/DefinesDock.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

DefinesDock::DefinesDock(QWidget *parent)
    : QDockWidget(QStringLiteral("定义"), parent), m_filter(new QLineEdit(this)), m_view(new QTreeView(this))
{
    // The window layout keeps the dock's place and visibility under this name.
    setObjectName(QStringLiteral("DefinesDock"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_filter->setObjectName(QStringLiteral("txtDefineFilter"));
    m_filter->setPlaceholderText(QStringLiteral("按名称或说明筛选"));
    m_filter->setClearButtonEnabled(true);
    m_view->setObjectName(QStringLiteral("lstDefines"));
    m_view->setModel(&m_model);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true); // tens of thousands of rows lay out at once
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionResizeMode(DefinesModel::NameColumn, QHeaderView::Stretch);
    layout->addWidget(m_filter);
    layout->addWidget(m_view);
    setWidget(body);

    // While typing, the best match is the first row: Return takes it.
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_model.setFilter(text);
        m_caretEntry = -1;
        if (m_model.rowCount() > 0)
            m_view->setCurrentIndex(m_model.index(0, 0));
    });
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        const QModelIndex current = m_view->currentIndex();
        choose(current.isValid() ? current : m_model.index(0, 0));
    });
    // Double-click, or Return on a row.
    connect(m_view, &QAbstractItemView::activated, this, &DefinesDock::choose);
    m_filter->installEventFilter(this);
    m_view->installEventFilter(this);
}

void DefinesDock::showOutline(std::shared_ptr<const DefineOutline> outline)
{
    m_model.setOutline(std::move(outline));
    m_caretEntry = -1;
    followCaret(m_caret);
}

void DefinesDock::followCaret(qsizetype offset)
{
    m_caret = offset;
    const DefineOutline *outline = m_model.outline();
    const qsizetype entry = outline && offset >= 0 ? defineAt(*outline, offset) : -1;
    if (entry != m_caretEntry)
        markEntry(entry);
}

void DefinesDock::markEntry(qsizetype entry)
{
    m_caretEntry = entry;
    const int row = m_model.rowOfEntry(entry);
    if (row < 0) {
        m_view->clearSelection();
        return;
    }
    const QModelIndex index = m_model.index(row, 0);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
}

void DefinesDock::focusFilter()
{
    show();
    raise();
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
}

void DefinesDock::choose(const QModelIndex &index)
{
    if (const DefineOutlineEntry *entry = m_model.entryAt(index.row()))
        emit defineChosen(entry->offset);
}

bool DefinesDock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape) {
            emit leave();
            return true;
        }
        // From the box, the arrows walk the list.
        if (watched == m_filter && (key == Qt::Key_Down || key == Qt::Key_Up)) {
            const int row = std::clamp(m_view->currentIndex().row() + (key == Qt::Key_Down ? 1 : -1), 0,
                                       std::max(0, m_model.rowCount() - 1));
            if (m_model.rowCount() > 0)
                m_view->setCurrentIndex(m_model.index(row, 0));
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
