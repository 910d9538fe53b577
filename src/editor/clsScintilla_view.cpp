// clsScintilla: margins, view switches, zoom, the key map, and the control's options.

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using namespace platform;
using Sci = QsciScintillaBase;

namespace {
constexpr int kLineNumberMargin = 0;
constexpr int kLineNumberWidth = 40;
// The component's own bounds for zoom; this build of it does not enforce them.
constexpr int kMinZoom = -10;
constexpr int kMaxZoom = 20;

WParam w(long long value) { return static_cast<WParam>(value); }
} // namespace

void clsScintilla::ApplyOptions(const EditorOptions &o)
{
    LetFolding(o.Folding);
    LetAutoIndent(o.AutoIndent);
    LetMatchBraces(o.Bracematch);
    LetShowCallTips(o.ShowCallTips);
    SetViewWhiteSpace(o.ViewWhiteSpace);
    SetScrollWidth(o.ScrollWidth);
    LetIgnoreAutoCCase(o.IgnoreAutoCCase);
    LetWordWrap(o.WordWrap);
    SetReadOnly(o.ReadOnly);
    LetContextMenu(o.ContextMenu);
    LetLineNumbers(o.LineNumbers);
    LetShowFlags(o.ShowFlags);
    LetAutoCompleteStart(o.AutoCompleteStart);
    LetAutoCompleteString(o.AutoCompleteString);
    LetAutoShowAutoComplete(o.AutoShowAutoComplete);
}

void clsScintilla::LetIgnoreAutoCCase(bool on)
{
    m_ignoreAutoCCase = on;
    SetAutoCompleteIgnoreCase(on);
}

void clsScintilla::LetShowFlags(bool on)
{
    m_bookmarks.marginShown = on;
    SetFlags(on);
}

void clsScintilla::MarkerSet(int iLine, int iMarkerNum) { SendEditor(Sci::SCI_MARKERADD, w(iLine), iMarkerNum); }

void clsScintilla::LetFolding(bool on)
{
    m_folding.enabled = on;
    SetFolding(on);
}

void clsScintilla::LetLineNumbers(bool on)
{
    m_lineNumbers = on;
    SetLineNumbers(on);
}

void clsScintilla::SetLineNumbers(bool bVal) { SetMarginWidth(kLineNumberMargin, bVal ? kLineNumberWidth : 0); }

void clsScintilla::SetMarginWidth(int enMargin, int lWidth)
{
    SendEditor(Sci::SCI_SETMARGINWIDTHN, w(enMargin), lWidth);
}

void clsScintilla::LetContextMenu(bool on)
{
    m_contextMenu = on;
    SetContextMenu(on);
}

void clsScintilla::SetContextMenu(bool on) { SendEditor(Sci::SCI_USEPOPUP, on ? w(-1) : 0); }

void clsScintilla::LetWordWrap(bool on)
{
    m_wordWrap = on;
    SendEditor(Sci::SCI_SETWRAPMODE, on ? Sci::SC_WRAP_WORD : Sci::SC_WRAP_NONE);
}

bool clsScintilla::GetViewWhiteSpace() { return SendEditor(Sci::SCI_GETVIEWWS) != 0; }
void clsScintilla::SetViewWhiteSpace(bool on) { SendEditor(Sci::SCI_SETVIEWWS, on ? Sci::SCWS_VISIBLEALWAYS : 0); }
int clsScintilla::GetScrollWidth() { return static_cast<int>(SendEditor(Sci::SCI_GETSCROLLWIDTH)); }
void clsScintilla::SetScrollWidth(int width) { SendEditor(Sci::SCI_SETSCROLLWIDTH, w(width)); }

int clsScintilla::GetZoom() { return static_cast<int>(SendEditor(Sci::SCI_GETZOOM)); }
void clsScintilla::SetZoom(int lval) { SendEditor(Sci::SCI_SETZOOM, w(qBound(kMinZoom, lval, kMaxZoom))); }
void clsScintilla::ZoomIn() { SetZoom(GetZoom() + 1); }
void clsScintilla::ZoomOut() { SetZoom(GetZoom() - 1); }

void clsScintilla::ClearCommandKeys() { SendEditor(Sci::SCI_CLEARALLCMDKEYS); }
void clsScintilla::ClearCmdKey(int lKeyDef) { SendEditor(Sci::SCI_CLEARCMDKEY, w(lKeyDef), Sci::SCI_NULL); }
