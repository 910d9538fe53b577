#pragma once
// Decides, character by character, which completion list pops up in the main editor and writes
// a chosen database item into the text. The main window connects the editor control's
// character-added and list-selection events to it and holds the state it reads and fills.
// Neither handler ever lets a failure out: a failing step ends the handler without a message.

#include "completion/CompletionState.h"

#include <QByteArray>
#include <functional>

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
    // The field lookup gets the table name and returns its fields as a list text.
    using FieldLookup = std::function<QString(const QString &tableName)>;

    CompletionTriggers(clsScintilla &editor, const bool &schemaCompletionOn, CompletionLists &lists,
                       FieldLookup lookupFields)
        : m_editor(editor), m_schemaOn(schemaCompletionOn), m_lists(lists), m_lookupFields(std::move(lookupFields))
    {
    }

    // ch is the added character's code. bTextChanged is the caller's.
    void OnCharAdded(int ch) noexcept;
    void OnListSelection() noexcept;

private:
    void charAdded(int ch);
    void listSelection();
    void show(const QString &list);
    void fieldsAfterSeparator(const WordAround &around);
    void searchTables(const WordAround &around);
    void narrowTyped();
    // The current line from its start up to the caret (plus the character at the caret when asked).
    QByteArray lineToCaret(bool withCharAtCaret);

    clsScintilla &m_editor;
    const bool &m_schemaOn;
    CompletionLists &m_lists;
    FieldLookup m_lookupFields;
};
