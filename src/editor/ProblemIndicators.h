#pragma once
// Marks ranges of the text with the component's indicators: a red squiggle under errors and an
// orange one under warnings. The marks move with the text as it is edited, until replaced.

#include "editor/clsScintilla.h"

#include <vector>

class ProblemIndicators {
public:
    // Container indicators that brace matching, bookmarks and search do not use.
    static constexpr int kError = 20;
    static constexpr int kWarning = 21;

    struct Range {
        qsizetype start = 0;
        qsizetype length = 0;
        bool error = true;
    };

    explicit ProblemIndicators(clsScintilla &editor) : m_editor(editor) {}

    // Sets the indicators' looks; once per editing window.
    void setUp();
    // Replaces every mark with these; ranges past the text's end are cut at it. Only the marks
    // that differ from those shown are touched, as each touch redraws what it covers.
    void show(const std::vector<Range> &ranges);
    void clear();

private:
    struct Run {
        qsizetype start = 0;
        qsizetype end = 0;
        bool operator==(const Run &) const = default;
        auto operator<=>(const Run &) const = default;
    };
    std::vector<Run> shownRuns(int indicator);
    void update(int indicator, const std::vector<Run> &wanted);

    clsScintilla &m_editor;
};
