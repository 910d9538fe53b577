#pragma once
// Brace matching: while it is on, the brace at (or else before) the caret and its partner are
// highlighted, or the brace is marked as unmatched. The match is redone only when its answer can
// have changed: a user-interface update that moved the caret or changed the text. Scrolling
// alone, or an update that leaves the caret and the text as they were, keeps the last answer,
// since finding that a brace has no partner costs a scan to the end of the document.

#include "editor/EditorPart.h"

#include <cstdint>

class clsScintilla;

class BraceMatcher : public EditorPart {
public:
    explicit BraceMatcher(clsScintilla &editor) : m_editor(editor) {}

    bool enabled = false;

    void notify(const SCNotification &record) override;
    // Matches at once, whatever was matched before.
    void matchBraces();

private:
    int braceAtCaret() const;

    clsScintilla &m_editor;
    std::uint64_t m_textVersion = 0; // counts the changes made to the text
    // The caret and text version that the highlight on screen was computed for.
    int m_matchedCaret = -1;
    std::uint64_t m_matchedVersion = 0;
};
