#pragma once
// Scopes a change that touches much of the document at once: a whole new text, a replace-all,
// undoing or redoing one. Meanwhile the component announces each change before making it but
// does not report it once made: its Qt layer answers that report by copying the changed text
// into a UTF-16 string and counting the characters before it from the start of the document,
// which triples the memory a large text needs and makes many small changes quadratic.

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

class BulkChange {
public:
    explicit BulkChange(clsScintilla &editor)
        : m_editor(editor), m_mask(editor.SendEditor(QsciScintillaBase::SCI_GETMODEVENTMASK))
    {
        using Sci = QsciScintillaBase;
        // The component sends a change when any bit of its type is in the mask, and the bits
        // that say how it came about are in every type: they go too.
        constexpr platform::LResult kMade = Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_PERFORMED_USER |
                                            Sci::SC_PERFORMED_UNDO | Sci::SC_PERFORMED_REDO |
                                            Sci::SC_MULTISTEPUNDOREDO | Sci::SC_LASTSTEPINUNDOREDO |
                                            Sci::SC_MULTILINEUNDOREDO | Sci::SC_STARTACTION;
        editor.SendEditor(Sci::SCI_SETMODEVENTMASK, static_cast<platform::WParam>(m_mask & ~kMade));
    }
    ~BulkChange()
    {
        m_editor.SendEditor(QsciScintillaBase::SCI_SETMODEVENTMASK, static_cast<platform::WParam>(m_mask));
    }
    BulkChange(const BulkChange &) = delete;
    BulkChange &operator=(const BulkChange &) = delete;

private:
    clsScintilla &m_editor;
    const platform::LResult m_mask;
};
