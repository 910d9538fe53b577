#include "app/MainStatusBar.h"

#include "editor/clsScintilla.h"

#include <QLabel>
#include <cstdlib>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

MainStatusBar::MainStatusBar(clsScintilla &editor, QWidget *parent)
    : QStatusBar(parent), m_editor(editor), m_column(editor), m_selected(editor)
{
    setObjectName(QStringLiteral("MainStatusBar"));
    // Each field keeps the width of a long sample, so that nothing moves sideways as the caret,
    // the selection or the counts change; the selection's field stays in place while empty.
    m_position = addField("lblPosition", QStringLiteral("行 9999999, 列 99999"));
    m_selection = addField("lblSelection", QStringLiteral("已选 99999999 个字符"));
    m_problems = addField("lblProblems", QStringLiteral("错误 999999  警告 999999"));
    m_codePage = addField("lblCodePage", QString());
    m_mode = addField("lblMode", QString());
    m_codePage->setText(QString::fromLatin1(editor.codec().name()));
    setProblemCounts(0, 0);

    QsciScintillaBase *widget = editor.widget();
    connect(widget, &Sci::SCN_UPDATEUI, this, [this](int) { updateCaret(); });
    connect(widget, &Sci::SCN_MODIFIED, this,
            [this](int position, int type, const char *, int, int, int, int, int, int, int) {
                textChanged(position, type);
            });
    updateCaret();
}

QLabel *MainStatusBar::addField(const char *name, const QString &widest)
{
    auto *label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setContentsMargins(6, 0, 6, 0);
    if (!widest.isEmpty())
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 12);
    addPermanentWidget(label);
    return label;
}

void MainStatusBar::setMode(bool serverMode, const QString &host)
{
    m_mode->setText(serverMode ? QStringLiteral("服务器 ") + host : QStringLiteral("本地"));
}

void MainStatusBar::setProblemCounts(qsizetype errors, qsizetype warnings)
{
    m_problems->setText(QStringLiteral("错误 %1  警告 %2").arg(errors).arg(warnings));
}

void MainStatusBar::textChanged(int position, int modificationType)
{
    constexpr int kTextChanges = Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_MOD_BEFOREINSERT |
                                 Sci::SC_MOD_BEFOREDELETE;
    if (!(modificationType & kTextChanges))
        return;
    m_column.changedAt(position);
    m_selected.changedAt(position);
    m_caret = -1; // read again at the next update
}

void MainStatusBar::updateCaret()
{
    const qsizetype caret = m_editor.SendEditor(Sci::SCI_GETCURRENTPOS);
    const qsizetype anchor = m_editor.SendEditor(Sci::SCI_GETANCHOR);
    if (caret == m_caret && anchor == m_anchor)
        return;
    m_caret = caret;
    m_anchor = anchor;
    const qsizetype line = m_editor.SendEditor(Sci::SCI_LINEFROMPOSITION, static_cast<platform::WParam>(caret));
    const qsizetype lineStart = m_editor.SendEditor(Sci::SCI_POSITIONFROMLINE, static_cast<platform::WParam>(line));
    const qsizetype column = m_column.between(lineStart, caret) + 1;
    m_position->setText(QStringLiteral("行 %1, 列 %2").arg(line + 1).arg(column));
    const qsizetype selected = caret == anchor ? 0 : std::abs(m_selected.between(anchor, caret));
    m_selection->setText(selected > 0 ? QStringLiteral("已选 %1 个字符").arg(selected) : QString());
}
