#pragma once
// The component's completion list as the wrapper offers it: lists are sorted before they are
// shown, and while AutoShowAutoComplete is on, typing the first character of AutoCompleteStart
// shows AutoCompleteString. Lists use "|" between items (the forms set the separator).

#include "editor/EditorPart.h"

#include <QString>
#include <QStringView>

class clsScintilla;

// The items of str in ascending order compared upper-cased: a Shell sort with Knuth's gaps in
// which an item moves down only past items strictly greater than itself, so items that differ
// only in case come out as that sort leaves them.
QString SortString(QStringView str);

class CompletionList : public EditorPart {
public:
    explicit CompletionList(clsScintilla &editor) : m_editor(editor) {}

    void notify(const SCNotification &record) override;

    // Shows the sorted list; typedLength characters before the caret count as already typed.
    void show(const QString &list, int typedLength);
    // The open list's current item; empty without a list.
    QString selectedText() const;

private:
    clsScintilla &m_editor;
};
