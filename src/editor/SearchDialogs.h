#pragma once
// What the wrapper's DoFind, DoReplace and DoGoto ask of the search dialogs. The editor knows
// no dialog: the application installs an implementation at start.

#include "editor/FindOptions.h"

#include <QString>
#include <optional>

class clsScintilla;

struct FindRequest {
    QString text;
    FindOptions options;
};

struct GotoRequest {
    int line = 1; // 1-based, as typed
    int column = 1;
};

class ISearchDialogs {
public:
    virtual ~ISearchDialogs() = default;
    // The modal find dialog, its box filled with selectedText when that is not empty; nothing
    // when the user cancelled.
    virtual std::optional<FindRequest> askFind(clsScintilla &editor, const QString &selectedText) = 0;
    // The one modeless replace dialog, retargeted to editor; returns at once.
    virtual void showReplace(clsScintilla &editor, const QString &selectedText) = 0;
    // The modal go-to dialog with its three labels; nothing when the user cancelled.
    virtual std::optional<GotoRequest> askGoto(clsScintilla &editor, const QString &curLine,
                                               const QString &lastLine, const QString &column) = 0;
    // Tells the user that a search pattern is not a valid regular expression.
    virtual void reportInvalidPattern(const QString &pattern) = 0;
};
