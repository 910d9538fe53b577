#pragma once
// The user's bookmarks ("flags"): marker 2 on a line, the flags margin (margin 1) that shows it,
// and moving between flagged lines with wrap-around.

#include "editor/EditorPart.h"

class clsScintilla;

class Bookmarks : public EditorPart {
public:
    static constexpr int kMarker = 2;
    static constexpr int kMargin = 1;

    explicit Bookmarks(clsScintilla &editor) : m_editor(editor) {}

    bool marginShown = false;

    void showMargin(bool shown);
    void toggle();
    void next();
    void previous();
    void clear();

private:
    clsScintilla &m_editor;
};
