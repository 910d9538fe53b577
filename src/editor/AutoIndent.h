#pragma once
// Automatic indentation: an empty new line takes the indentation of the nearest non-empty line
// above it, for every added character while it is on.

#include "editor/EditorPart.h"

class clsScintilla;

class AutoIndent : public EditorPart {
public:
    explicit AutoIndent(clsScintilla &editor) : m_editor(editor) {}

    bool enabled = false;

    void notify(const SCNotification &record) override;
    void maintainIndentation();

private:
    clsScintilla &m_editor;
};
