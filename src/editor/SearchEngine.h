#pragma once
// Finds, replaces and goes to places in one editing window, with the component's target search.
// Shows nothing: every call returns what happened, and the caller decides what the user sees.

#include "editor/FindOptions.h"
#include "editor/MatchContext.h"

#include <QString>

class clsScintilla;
class ReplacementPlan;

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

// How replace-all goes. Auto finds every match of the unchanged text first and, when they are
// many, builds the new text in one pass and hands it to the component at once; few are replaced
// one at a time. EachMatch searches again after each replacement; OnePass builds even for one.
// All three make the same text; only the editor's default, Auto, is meant for use.
enum class ReplaceAllPath { Auto, EachMatch, OnePass };

class SearchEngine {
public:
    explicit SearchEngine(clsScintilla &editor) : m_editor(editor) {}

    // Searches from the selection (or within it), wrapping when asked, and selects the match.
    // A non-empty text is remembered with its options, found or not.
    FindOutcome find(const QString &text, const FindOptions &options);
    // Repeats the remembered search in the given direction; nothing found before any search.
    FindOutcome findAgain(bool reverse);
    // Replaces every match in the document, left to right, as one step for undo; the selection
    // moves only as the text around it does. The replacement is literal, also for a regular
    // expression. Each search starts where the last replacement ends.
    ReplaceOutcome replaceAll(const QString &searchFor, const QString &replaceWith, const FindOptions &options);
    void setReplaceAllPath(ReplaceAllPath path) { m_replaceAllPath = path; }
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
    // Replaces from a position one match at a time, searching again after each; the count made.
    int replaceEachFrom(const QByteArray &text, const QByteArray &replacement, int from, bool &invalid);
    // Finds the matches of the unchanged text for as long as each search surely finds what it
    // would after the replacements before it. Returns where that stops being sure (the end of
    // the last match added), or -1 when every match was found.
    int collectMatches(const QByteArray &text, const FindOptions &options, ReplacementPlan &plan, bool &invalid);
    MatchContext matchContext(const FindOptions &options);

    clsScintilla &m_editor;
    bool m_searchDone = false;
    QString m_lastSearch;
    FindOptions m_lastOptions;
    ReplaceAllPath m_replaceAllPath = ReplaceAllPath::Auto;
};
