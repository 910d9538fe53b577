#pragma once
// Writes an editor's styled text as HTML: one CSS class per style in use, taken from the
// highlighter applied last, and one span per stretch of equal style. The file form is a whole
// document in the ANSI code page, replaced atomically; the fragment is the style sheet and the
// spans alone.

#include <QByteArray>
#include <QString>

class QIODevice;
class clsScintilla;
class usrScintilla;
struct HighlighterRecord;

// 0x00BBGGRR as "#RRGGBB".
QString ColourToHex(int colour);

enum class HtmlForm { File, Fragment };

// What the export works on: the component's UTF-8 text and one style byte per text byte.
struct StyledText {
    QByteArrayView utf8;
    QByteArrayView styles;
    int tabWidth = 8;
    int codePage = 936; // of the file form
};

// The style sheet for the styles that occur, with the record's attributes (none without one).
QByteArray htmlStyleSheet(const StyledText &text, const HighlighterRecord *record, HtmlForm form);
// The spans; in the file form in the code page (characters it lacks as character references),
// in the fragment form UTF-8.
QByteArray htmlBody(const StyledText &text, HtmlForm form);
// The whole file form, in memory or written to a device a piece at a time (false when a write
// failed).
QByteArray htmlDocument(const StyledText &text, const HighlighterRecord *record);
bool writeHtmlDocument(QIODevice &device, const StyledText &text, const HighlighterRecord *record);

// The editor's text and one style per byte, styled to its end first and read in bulk. The text
// is the component's own, not a copy: valid until the document next changes.
struct EditorStyledText {
    QByteArray utf8;
    QByteArray styles;
};
EditorStyledText readStyledText(clsScintilla &editor);

// The editor's whole document, styled to its end first.
bool ExportHTMLFile(const QString &path, clsScintilla &editor, QString *error = nullptr);
// The same document written to a device a buffer at a time (false when a write failed).
bool ExportHTMLTo(QIODevice &device, clsScintilla &editor);
QString ExportHTMLFragment(clsScintilla &editor);

// The editor control's operations.
bool ExportToHTML(usrScintilla &control, const QString &strFile, QString *error = nullptr);
QString ExportPartialHTML(usrScintilla &control);
