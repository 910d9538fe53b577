#pragma once
// The editor control's persisted options with their defaults. The control keeps one record;
// the wrapper applies it in one place (clsScintilla::ApplyOptions) when the editing window is
// created. Options marked "at creation" reach the component only then: changing them later
// changes the stored value alone, as forms and stored property sets expect.

#include <QString>

struct EditorOptions {
    bool ShowCallTips = false;
    bool ViewWhiteSpace = false;
    bool WordWrap = false;
    bool ReadOnly = false;
    bool ContextMenu = false;
    bool AutoIndent = false;
    bool IgnoreAutoCCase = false;
    bool Bracematch = true;                               // at creation (the wrapper's MatchBraces)
    int ScrollWidth = 10000;                              // at creation
    bool LineNumbers = true;                              // at creation
    bool Folding = true;                                  // at creation
    QString CurHighlighter;                               // the highlighter applied; stored only
    bool ShowFlags = true;                                // at creation
    bool AutoShowAutoComplete = false;                    // at creation
    QString AutoCompleteString = QStringLiteral("if then else"); // at creation
    QString AutoCompleteStart = QStringLiteral(".");      // at creation

    friend bool operator==(const EditorOptions &, const EditorOptions &) = default;
};
