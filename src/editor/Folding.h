#pragma once
// Code folding: the box-tree fold margin (margin 2) and its markers, and a click in that margin
// toggling the fold of the clicked line.

#include "editor/EditorPart.h"

class clsScintilla;

class Folding : public EditorPart {
public:
    static constexpr int kMargin = 2;

    explicit Folding(clsScintilla &editor) : m_editor(editor) {}

    bool enabled = false;

    void notify(const SCNotification &record) override;
    // Shows or hides the fold margin and turns the lexer's folding on or off.
    void apply(bool fold);

private:
    clsScintilla &m_editor;
};
