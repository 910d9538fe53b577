#pragma once
// Brace matching: on each user-interface update while it is on, the brace at (or else before)
// the caret and its partner are highlighted, or the brace is marked as unmatched.

#include "editor/EditorPart.h"

class clsScintilla;

class BraceMatcher : public EditorPart {
public:
    explicit BraceMatcher(clsScintilla &editor) : m_editor(editor) {}

    bool enabled = false;

    void notify(const SCNotification &record) override;
    void matchBraces();

private:
    int braceAtCaret() const;

    clsScintilla &m_editor;
};
