// Styles: the primitives, clearing every style, and choosing a built-in set-up.

#include "editor/Styles.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;
using platform::LParam;
using platform::WParam;

namespace {
WParam w(int value) { return static_cast<WParam>(value); }
LParam l(long long value) { return static_cast<LParam>(value); }
LParam flag(bool on) { return on ? -1 : 0; }
constexpr int kStyleCount = 128;
} // namespace

void Styles::setFore(int style, int colour) { m_editor.SendEditor(Sci::SCI_STYLESETFORE, w(style), l(colour)); }
void Styles::setBack(int style, int colour) { m_editor.SendEditor(Sci::SCI_STYLESETBACK, w(style), l(colour)); }
void Styles::setFont(int style, const QString &font) { m_editor.SendEditor(Sci::SCI_STYLESETFONT, w(style), font); }
void Styles::setSize(int style, int points) { m_editor.SendEditor(Sci::SCI_STYLESETSIZE, w(style), l(points)); }
void Styles::setBold(int style, bool on) { m_editor.SendEditor(Sci::SCI_STYLESETBOLD, w(style), flag(on)); }
void Styles::setItalic(int style, bool on) { m_editor.SendEditor(Sci::SCI_STYLESETITALIC, w(style), flag(on)); }
void Styles::setUnderline(int style, bool on) { m_editor.SendEditor(Sci::SCI_STYLESETUNDERLINE, w(style), flag(on)); }
void Styles::setVisible(int style, int visible) { m_editor.SendEditor(Sci::SCI_STYLESETVISIBLE, w(style), l(visible)); }
void Styles::setEOLFilled(int style, bool on) { m_editor.SendEditor(Sci::SCI_STYLESETEOLFILLED, w(style), flag(on)); }
void Styles::setKeywords(int list, const QString &words) { m_editor.SendEditor(Sci::SCI_SETKEYWORDS, w(list), words); }
void Styles::setLexer(int) { m_editor.SendEditor(Sci::SCI_SETLEXER, w(Sci::SCLEX_SQL)); }
void Styles::setStyleBits(int bits) { m_editor.SendEditor(Sci::SCI_SETSTYLEBITS, w(bits)); }
void Styles::startStyle() { m_editor.SendEditor(Sci::SCI_STARTSTYLING, 0, 31); }
void Styles::colourise() { m_editor.SendEditor(Sci::SCI_COLOURISE, 0, -1); }

void Styles::styleClearAll()
{
    setLexer(0);
    const QString courier = QStringLiteral("Courier New");
    for (int style = 0; style < kStyleCount; ++style) {
        setBack(style, 0xFFFFFF);
        setFore(style, 0);
        setBold(style, false);
        setItalic(style, false);
        setUnderline(style, false);
        setFont(style, courier);
        setSize(style, 10);
    }
    m_editor.SendEditor(Sci::SCI_STYLECLEARALL);
}

void Styles::setFixedFont(const QString &font, int points)
{
    for (int style = 0; style < kStyleCount; ++style) {
        setFont(style, font);
        setSize(style, points);
    }
}

void Styles::setHighlighter(int highlighter)
{
    styleClearAll();
    startStyle();
    switch (highlighter) {
    case 0: visualBasic(); break;
    case 1: cpp(); break;
    case 2: html(); break;
    case 3: pascal(); break;
    default: break;
    }
    colourise();
}
