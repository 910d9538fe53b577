#pragma once
// Decides, character by character, which completion list pops up in the main editor and writes
// a chosen database item into the text. The main window connects the editor control's
// character-added and list-selection events to it and holds the state it reads and fills.
// Neither handler ever lets a failure out: a failing step ends the handler without a message.

#include "completion/CompletionState.h"

#include <QByteArray>
#include <functional>
#include <optional>

class clsScintilla;

// The run around the caret as the component classifies characters (WordAroundCaret):
// s and e as positions, word as the document's UTF-8 bytes from s to e inclusive (a position
// past the end reads as NUL).
struct WordAround {
    int s = 0;
    int e = 0;
    QByteArray word;
    // word without its last two characters: the run before a typed punctuation character.
    QByteArray before() const { return word.left(qMax<qsizetype>(0, word.size() - 2)); }
    // word without its last character.
    QByteArray upto() const { return word.left(qMax<qsizetype>(0, word.size() - 1)); }
};

WordAround WordAroundCaret(clsScintilla &editor);

class CompletionTriggers {
public:
    // Starts the field lookup of a table; its list comes back through FieldListArrived (the
    // lookup runs away from the user-interface thread, so typing goes on meanwhile).
    using FieldLookup = std::function<void(const QString &tableName)>;

    CompletionTriggers(clsScintilla &editor, const bool &schemaCompletionOn, CompletionLists &lists,
                       FieldLookup lookupFields)
        : m_editor(editor), m_schemaOn(schemaCompletionOn), m_lists(lists), m_lookupFields(std::move(lookupFields))
    {
    }

    // ch is the added character's code. bTextChanged is the caller's.
    void OnCharAdded(int ch) noexcept;
    void OnListSelection() noexcept;
    // The fields of the last lookup asked for: kept as FieldList, shown only when the caret is
    // where it was when they were asked for and nothing was typed since.
    void FieldListArrived(const QString &list) noexcept;
    // The lookup asked for was cancelled: nothing will arrive.
    void FieldLookupCancelled() noexcept { m_pending.reset(); }

private:
    void charAdded(int ch);
    void listSelection();
    void show(const QString &list);
    void fieldsAfterSeparator(const WordAround &around);
    void searchTables(const WordAround &around);
    void narrowTyped();
    // The current line from its start up to the caret (plus the character at the caret when asked).
    QByteArray lineToCaret(bool withCharAtCaret);
    // The text's length in bytes of the document's code page.
    int codePageLength(const QByteArray &utf8) const;
    // The position reach code-page bytes before the caret, never inside a character (where the
    // count ends inside one, just after it); none when that lies before the document's start.
    std::optional<int> startBefore(int caret, int reach);

    clsScintilla &m_editor;
    const bool &m_schemaOn;
    CompletionLists &m_lists;
    FieldLookup m_lookupFields;
    // Where the caret was, and how many characters had been typed, when fields were asked for.
    struct PendingLookup {
        int caret = 0;
        quint64 typed = 0;
    };
    std::optional<PendingLookup> m_pending;
    quint64 m_typed = 0;
};
