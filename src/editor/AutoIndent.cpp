#include "editor/AutoIndent.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

void AutoIndent::notify(const SCNotification &record)
{
    if (enabled && record.nmhdr.code == scn::CharAdded)
        maintainIndentation();
}

void AutoIndent::maintainIndentation()
{
    clsScintilla &e = m_editor;
    const int line = e.GetCurLine();
    const auto isEmpty = [&e](int l) { return e.GetLineEndPosition(l) - e.PositionFromLine(l) == 0; };
    // Only an empty line takes an indentation: that of the nearest non-empty line above it.
    if (!isEmpty(line))
        return;
    for (int probe = line - 1; probe >= 0; --probe) {
        if (isEmpty(probe))
            continue;
        const auto indent = e.SendEditor(Sci::SCI_GETLINEINDENTATION, static_cast<platform::WParam>(probe));
        if (indent <= 0)
            return;
        e.SendEditor(Sci::SCI_SETLINEINDENTATION, static_cast<platform::WParam>(line), indent);
        const int pos = static_cast<int>(e.SendEditor(Sci::SCI_GETLINEINDENTPOSITION, static_cast<platform::WParam>(line)));
        e.SetCurrentPosition(pos);
        e.SetSel(pos, pos);
        e.SetFocus();
        return;
    }
}
