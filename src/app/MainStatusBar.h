#pragma once
// The main window's status bar: the caret's line and column (characters, from 1), the
// selection's length in characters, the last check's errors and warnings, the code page of the
// document's byte form and the mode. It follows the caret at the cost of what the caret moved.

#include "editor/CharacterDistance.h"

#include <QStatusBar>

class QLabel;
class clsScintilla;

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    MainStatusBar(clsScintilla &editor, QWidget *parent = nullptr);

    // "本地", or "服务器" with the servlet's host.
    void setMode(bool serverMode, const QString &host);
    void setProblemCounts(qsizetype errors, qsizetype warnings);
    // Reads the caret and the selection again.
    void updateCaret();

    QLabel *position() const { return m_position; }
    QLabel *selection() const { return m_selection; }
    QLabel *problems() const { return m_problems; }
    QLabel *codePage() const { return m_codePage; }
    QLabel *mode() const { return m_mode; }

private:
    QLabel *addField(const char *name, const QString &widest);
    void textChanged(int position, int modificationType);

    clsScintilla &m_editor;
    CharacterDistance m_column;    // from the caret's line start
    CharacterDistance m_selected;  // from the anchor
    QLabel *m_position;
    QLabel *m_selection;
    QLabel *m_problems;
    QLabel *m_codePage;
    QLabel *m_mode;
    qsizetype m_caret = -1;
    qsizetype m_anchor = -1;
};
