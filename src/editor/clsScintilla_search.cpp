// clsScintilla: the calls that open the search dialogs; the searching is the SearchEngine's.

#include "editor/clsScintilla.h"

#include "editor/SearchDialogs.h"

void clsScintilla::findAndReport(const QString &text, const FindOptions &options)
{
    if (m_search.find(text, options).invalidPattern && m_dialogs)
        m_dialogs->reportInvalidPattern(text);
}

void clsScintilla::DoFind(const QString &strFindText)
{
    if (!strFindText.isEmpty()) {
        FindOptions o = m_search.lastOptions();
        o.FindReverse = false;
        findAndReport(strFindText, o);
        SetFocus();
        return;
    }
    if (!m_dialogs)
        return;
    if (const std::optional<FindRequest> request = m_dialogs->askFind(*this, GetSelText()))
        findAndReport(request->text, request->options);
    SetFocus();
}

void clsScintilla::DoReplace()
{
    if (m_dialogs)
        m_dialogs->showReplace(*this, GetSelText());
}

void clsScintilla::DoGoto()
{
    if (!m_dialogs)
        return;
    const std::optional<GotoRequest> target =
        m_dialogs->askGoto(*this, QStringLiteral("Current Line: %1").arg(GetCurLine() + 1),
                           QStringLiteral("Last Line: %1").arg(GetLastLine()),
                           QStringLiteral("Column: %1").arg(GetColumn()));
    if (target)
        GotoLineColumn(target->line - 1, target->column - 1);
    SetFocus();
}
