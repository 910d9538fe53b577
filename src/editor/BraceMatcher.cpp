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
    if (enabled && record.nmhdr.code == scn::UpdateUI)
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
