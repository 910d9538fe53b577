#pragma once
// An editing window that no one sees, for the batch commands that draw: a define file's
// readable form in it, highlighted with the program folder's "SQL" highlighter.

#include "editor/usrScintilla.h"
#include "highlight/usrHighlighters.h"

#include <QFile>
#include <QWidget>
#include <memory>

class CliEditor {
public:
    CliEditor();
    ~CliEditor();

    // The file's bytes (ANSI code page, stored form) unescaped into the editor and highlighted;
    // false with the reason when it cannot be. The bytes are unescaped in place and handed over a
    // piece at a time, so that a caller that moves them in holds no second copy of the text.
    bool open(QByteArray storedBytes, QString &error);
    // The same from a file that is not a pipe: read a piece at a time into room made for its
    // size, so that the input never exists whole beside the component's copy. A file past
    // maxInput throws cli::InputTooLarge, as whole reads do.
    bool openFile(QFile &file, qint64 maxInput, const QString &what, QString &error);
    usrScintilla &control() { return *m_control; }
    clsScintilla &wrapper() { return *m_control->sciMain; }

private:
    // The upper bound of the UTF-8 length of `size` bytes of the code page.
    qsizetype roomFor(qsizetype size);
    bool highlight(QString &error);

    QWidget m_form;
    platform::Hwnd m_hwnd = 0;
    std::unique_ptr<usrScintilla> m_control;
    usrHighlighters m_highlighters;
};

// The drawing commands need a GUI application; the others do not.
bool cliCanDraw();
