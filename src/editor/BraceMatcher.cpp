#include "editor/BraceMatcher.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using platform::WParam;
using Sci = QsciScintillaBase;

namespace {
bool isBrace(int ch)
{
    switch (ch) {
    case '(': case ')': case '[': case ']': case '{': case '}': case '<': case '>': return true;
    default: return false;
    }
}
} // namespace

void BraceMatcher::notify(const SCNotification &record)
{
    // Big changes report only the announcement of each change, so count those too.
    constexpr int kTextChange =
        Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;
    if (record.nmhdr.code == scn::Modified && (record.modificationType & kTextChange) != 0) {
        ++m_textVersion;
        return;
    }
    if (!enabled || record.nmhdr.code != scn::UpdateUI)
        return;
    // An update that says nothing of its cause is treated as a change.
    constexpr int kScrollOnly = Sci::SC_UPDATE_V_SCROLL | Sci::SC_UPDATE_H_SCROLL;
    if (record.updated != 0 && (record.updated & ~kScrollOnly) == 0)
        return;
    if (m_editor.GetCurPos() == m_matchedCaret && m_textVersion == m_matchedVersion)
        return;
    matchBraces();
}

int BraceMatcher::braceAtCaret() const
{
    const int caret = m_editor.GetCurPos();
    if (isBrace(m_editor.GetCharAtLong(caret)))
        return caret;
    if (caret > 0 && isBrace(m_editor.GetCharAtLong(caret - 1)))
        return caret - 1;
    return -1;
}

void BraceMatcher::matchBraces()
{
    m_matchedCaret = m_editor.GetCurPos();
    m_matchedVersion = m_textVersion;
    const int brace = braceAtCaret();
    if (brace < 0) {
        m_editor.SendEditor(Sci::SCI_BRACEHIGHLIGHT, static_cast<WParam>(-1), -1);
        return;
    }
    const auto match = m_editor.SendEditor(Sci::SCI_BRACEMATCH, static_cast<WParam>(brace), 0);
    if (match >= 0) {
        m_editor.SendEditor(Sci::SCI_BRACEHIGHLIGHT, static_cast<WParam>(match), brace);
        m_editor.SendEditor(Sci::SCI_SETHIGHLIGHTGUIDE, static_cast<WParam>(m_editor.GetColumn()));
    } else {
        m_editor.SendEditor(Sci::SCI_BRACEBADLIGHT, static_cast<WParam>(brace));
    }
}
