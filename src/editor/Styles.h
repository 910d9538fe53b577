#pragma once
// The style primitives of one editing window (colours, fonts, weights, keyword lists, lexer) and
// the four built-in language set-ups. Each primitive sends one message; booleans go as -1 and 0.

#include <QString>

class clsScintilla;

class Styles {
public:
    explicit Styles(clsScintilla &editor) : m_editor(editor) {}

    void setFore(int style, int colour);
    void setBack(int style, int colour);
    void setFont(int style, const QString &font);
    void setSize(int style, int points);
    void setBold(int style, bool on);
    void setItalic(int style, bool on);
    void setUnderline(int style, bool on);
    // The stored value is passed on as it is.
    void setVisible(int style, int visible);
    void setEOLFilled(int style, bool on);
    void setKeywords(int list, const QString &words);
    // Every highlighter colours with the SQL lexer, the language of the define files.
    void setLexer(int lexer);
    void setStyleBits(int bits);
    void startStyle();
    void colourise();
    void styleClearAll();
    void setFixedFont(const QString &font, int points);
    // 0 Visual Basic, 1 C++, 2 HTML, 3 Pascal; any other number only clears and recolours.
    void setHighlighter(int highlighter);

private:
    void visualBasic();
    void cpp();
    void html();
    void pascal();

    clsScintilla &m_editor;
};
