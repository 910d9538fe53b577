#pragma once
// Counts the characters between two positions of the component's text (UTF-8 bytes), re-using the
// last count while one end stays put: the caret's column on a very long line, or a selection
// grown by dragging, then costs what the caret moved rather than the whole distance.

#include "editor/clsScintilla.h"

class CharacterDistance {
public:
    explicit CharacterDistance(clsScintilla &editor) : m_editor(editor) {}

    // Characters from `from` to `to`, negative when `to` lies before `from`.
    qsizetype between(qsizetype from, qsizetype to);
    // The text changed at this position; counts that reach past it are forgotten.
    void changedAt(qsizetype position);

private:
    qsizetype count(qsizetype from, qsizetype to); // signed, straight from the component

    clsScintilla &m_editor;
    qsizetype m_from = -1;
    qsizetype m_to = -1;
    qsizetype m_chars = 0;
};
