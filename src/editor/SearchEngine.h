#pragma once
// Finds, replaces and goes to places in one editing window, with the component's target search.
// Shows nothing: every call returns what happened, and the caller decides what the user sees.

#include "editor/FindOptions.h"

#include <QString>

class clsScintilla;

// What a find did: the range selected, or why nothing was.
struct FindOutcome {
    bool found = false;
    int start = -1;
    int end = -1;
    bool invalidPattern = false;
};

struct ReplaceOutcome {
    int count = 0;
    bool invalidPattern = false;
};

class SearchEngine {
public:
    explicit SearchEngine(clsScintilla &editor) : m_editor(editor) {}

    // Searches from the selection (or within it), wrapping when asked, and selects the match.
    // A non-empty text is remembered with its options, found or not.
    FindOutcome find(const QString &text, const FindOptions &options);
    // Repeats the remembered search in the given direction; nothing found before any search.
    FindOutcome findAgain(bool reverse);
    // Replaces every match in the document, left to right; the selection is not changed.
    ReplaceOutcome replaceAll(const QString &searchFor, const QString &replaceWith, const FindOptions &options);
    // Replaces the current target with literal text, at most lLen of its UTF-8 bytes.
    void replaceTarget(int length, const QString &replacement);
    // Find and replace the selection, wrapping, once or until nothing is found (bounded).
    void replaceSelections(const QString &searchFor, const QString &replaceWith, bool all, const FindOptions &options);

    void gotoLine(int line);
    // 0-based; both clamped to the document, the column to its line's end.
    void gotoLineColumn(int line, int column);

    bool searchDone() const { return m_searchDone; }
    const QString &lastSearch() const { return m_lastSearch; }
    const FindOptions &lastOptions() const { return m_lastOptions; }
    // Forgets the remembered search (a new editing window).
    void reset() { m_searchDone = false; }

private:
    void setSearchFlags(const FindOptions &options);
    // The match's start, or -1; invalid is set when the pattern was rejected.
    int searchInTarget(const QByteArray &text, int start, int end, bool &invalid);

    clsScintilla &m_editor;
    bool m_searchDone = false;
    QString m_lastSearch;
    FindOptions m_lastOptions;
};
