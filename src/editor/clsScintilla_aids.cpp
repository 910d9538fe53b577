// clsScintilla: indentation, brace matching, flags, folding, margins, zoom and view switches.

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using namespace platform;
using Sci = QsciScintillaBase;

namespace {
constexpr int kFlagMarker = 2;
constexpr int kFlagMask = 1 << kFlagMarker;
constexpr LParam kFlagsMarginMask = 0x1FFFFFF;
constexpr LParam kFoldMarginMask = static_cast<LParam>(0xFE000000u);
constexpr int kLineNumberWidth = 40;
constexpr int kFlagsMarginWidth = 16;
constexpr int kFoldMarginWidth = 20;
constexpr LParam kWhite = 0xFFFFFF;
constexpr LParam kBlack = 0;

WParam w(long long value) { return static_cast<WParam>(value); }

bool isBrace(int ch)
{
    switch (ch) {
    case '(': case ')': case '[': case ']': case '{': case '}': case '<': case '>': return true;
    default: return false;
    }
}
} // namespace

void clsScintilla::setIgnoreAutoCCase(bool on)
{
    m_ignoreAutoCCase = on;
    SendEditor(Sci::SCI_AUTOCSETIGNORECASE, on ? 1 : 0);
}

void clsScintilla::setShowFlags(bool on)
{
    m_showFlags = on;
    SetFlags(on);
}

void clsScintilla::setFolding(bool on)
{
    m_folding = on;
    SetFolding(on);
}

void clsScintilla::setLineNumbers(bool on)
{
    m_lineNumbers = on;
    SetLineNumbers(on);
}

void clsScintilla::setContextMenu(bool on)
{
    m_contextMenu = on;
    SetContextMenu(on);
}

void clsScintilla::SetContextMenu(bool on) { SendEditor(Sci::SCI_USEPOPUP, on ? w(-1) : 0); }

void clsScintilla::setWordWrap(bool on)
{
    m_wordWrap = on;
    SendEditor(Sci::SCI_SETWRAPMODE, on ? Sci::SC_WRAP_WORD : Sci::SC_WRAP_NONE);
}

bool clsScintilla::GetViewWhiteSpace() { return SendEditor(Sci::SCI_GETVIEWWS) != 0; }
void clsScintilla::SetViewWhiteSpace(bool on) { SendEditor(Sci::SCI_SETVIEWWS, on ? Sci::SCWS_VISIBLEALWAYS : 0); }
int clsScintilla::GetScrollWidth() { return static_cast<int>(SendEditor(Sci::SCI_GETSCROLLWIDTH)); }
void clsScintilla::SetScrollWidth(int width) { SendEditor(Sci::SCI_SETSCROLLWIDTH, w(width)); }

void clsScintilla::SetLineNumbers(bool bVal) { SetMarginWidth(0, bVal ? kLineNumberWidth : 0); }

void clsScintilla::SetMarginWidth(int enMargin, int lWidth)
{
    SendEditor(Sci::SCI_SETMARGINWIDTHN, w(enMargin), lWidth);
}

void clsScintilla::SetFlags(bool val)
{
    if (!val) {
        SetMarginWidth(1, 0);
        return;
    }
    SetMarginWidth(1, kFlagsMarginWidth);
    SendEditor(Sci::SCI_SETMARGINMASKN, 1, kFlagsMarginMask);
}

void clsScintilla::SetFolding(bool bDoFold)
{
    if (!bDoFold) {
        SetProperty(QStringLiteral("fold"), QStringLiteral("0"));
        SetProperty(QStringLiteral("fold.compact"), QStringLiteral("0"));
        SetMarginWidth(2, 0);
        return;
    }
    SetProperty(QStringLiteral("fold"), QStringLiteral("1"));
    SetProperty(QStringLiteral("fold.compact"), QStringLiteral("1"));
    SetProperty(QStringLiteral("fold.html"), QStringLiteral("1"));

    SendEditor(Sci::SCI_SETMARGINTYPEN, 2, Sci::SC_MARGIN_SYMBOL);
    SendEditor(Sci::SCI_SETMARGINMASKN, 2, kFoldMarginMask);
    SetMarginWidth(2, kFoldMarginWidth);

    const std::pair<int, int> symbols[] = {
        {Sci::SC_MARKNUM_FOLDER, Sci::SC_MARK_BOXPLUS},
        {Sci::SC_MARKNUM_FOLDEROPEN, Sci::SC_MARK_BOXMINUS},
        {Sci::SC_MARKNUM_FOLDEREND, Sci::SC_MARK_BOXPLUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDEROPENMID, Sci::SC_MARK_BOXMINUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDERMIDTAIL, Sci::SC_MARK_TCORNER},
        {Sci::SC_MARKNUM_FOLDERSUB, Sci::SC_MARK_VLINE},
        {Sci::SC_MARKNUM_FOLDERTAIL, Sci::SC_MARK_LCORNER},
    };
    for (const auto &[marker, symbol] : symbols)
        SendEditor(Sci::SCI_MARKERDEFINE, w(marker), symbol);

    // The colour messages go in the order the fold margin has always been painted with.
    const auto fore = [this](int marker) { SendEditor(Sci::SCI_MARKERSETFORE, w(marker), kWhite); };
    const auto back = [this](int marker) { SendEditor(Sci::SCI_MARKERSETBACK, w(marker), kBlack); };
    fore(30); back(30); fore(31); back(31); back(27); back(29); back(28);
    fore(31); fore(27); fore(29); fore(28); back(26); fore(26); back(25); fore(25);

    SendEditor(Sci::SCI_SETMARGINSENSITIVEN, 2, 1);
    SendEditor(Sci::SCI_SETFOLDFLAGS, Sci::SC_FOLDFLAG_LINEAFTER_CONTRACTED, 0);
}

void clsScintilla::ToggleFlag()
{
    const int line = GetCurLine();
    // The whole mask is compared: a line that also carries another marker gets the flag again.
    const auto mask = SendEditor(Sci::SCI_MARKERGET, w(line));
    if (mask != kFlagMask)
        MarkerSet(line, kFlagMarker);
    else
        SendEditor(Sci::SCI_MARKERDELETE, w(line), kFlagMarker);
}

void clsScintilla::MarkerSet(int iLine, int iMarkerNum) { SendEditor(Sci::SCI_MARKERADD, w(iLine), iMarkerNum); }

void clsScintilla::NextFlag()
{
    auto found = SendEditor(Sci::SCI_MARKERNEXT, w(GetCurLine() + 1), kFlagMask);
    if (found == -1)
        found = SendEditor(Sci::SCI_MARKERNEXT, 0, kFlagMask);
    GotoLine(static_cast<int>(found));
}

void clsScintilla::PrevFlag()
{
    auto found = SendEditor(Sci::SCI_MARKERPREVIOUS, w(GetCurLine() - 1), kFlagMask);
    if (found == -1)
        found = SendEditor(Sci::SCI_MARKERPREVIOUS, w(GetLineCount()), kFlagMask);
    GotoLine(static_cast<int>(found));
}

void clsScintilla::ClearFlags() { SendEditor(Sci::SCI_MARKERDELETEALL, kFlagMarker); }

int clsScintilla::GetZoom() { return static_cast<int>(SendEditor(Sci::SCI_GETZOOM)); }
// The component's own bounds for zoom; this build of it does not enforce them.
constexpr int kMinZoom = -10;
constexpr int kMaxZoom = 20;
void clsScintilla::SetZoom(int lval) { SendEditor(Sci::SCI_SETZOOM, w(qBound(kMinZoom, lval, kMaxZoom))); }
void clsScintilla::ZoomIn() { SetZoom(GetZoom() + 1); }
void clsScintilla::ZoomOut() { SetZoom(GetZoom() - 1); }

void clsScintilla::MaintainIndentation()
{
    const int line = GetCurLine();
    // Only an empty line takes an indentation: that of the nearest non-empty line above it.
    if (GetLineEndPosition(line) - PositionFromLine(line) != 0)
        return;
    for (int probe = line - 1; probe >= 0; --probe) {
        if (GetLineEndPosition(probe) - PositionFromLine(probe) == 0)
            continue;
        const auto indent = SendEditor(Sci::SCI_GETLINEINDENTATION, w(probe));
        if (indent <= 0)
            return;
        SendEditor(Sci::SCI_SETLINEINDENTATION, w(line), indent);
        const int pos = static_cast<int>(SendEditor(Sci::SCI_GETLINEINDENTPOSITION, w(line)));
        SetCurrentPosition(pos);
        SetSel(pos, pos);
        SetFocus();
        return;
    }
}

void clsScintilla::ClearCommandKeys() { SendEditor(Sci::SCI_CLEARALLCMDKEYS); }

void clsScintilla::ClearCmdKey(int lKeyDef) { SendEditor(Sci::SCI_CLEARCMDKEY, w(lKeyDef), Sci::SCI_NULL); }

int clsScintilla::braceAtCaret()
{
    const int caret = GetCurPos();
    if (isBrace(GetCharAtLong(caret)))
        return caret;
    if (caret > 0 && isBrace(GetCharAtLong(caret - 1)))
        return caret - 1;
    return -1;
}

void clsScintilla::matchBraces()
{
    const int brace = braceAtCaret();
    if (brace < 0) {
        SendEditor(Sci::SCI_BRACEHIGHLIGHT, w(-1), -1);
        return;
    }
    const auto match = SendEditor(Sci::SCI_BRACEMATCH, w(brace), 0);
    if (match >= 0) {
        SendEditor(Sci::SCI_BRACEHIGHLIGHT, w(match), brace);
        SendEditor(Sci::SCI_SETHIGHLIGHTGUIDE, w(GetColumn()));
    } else {
        SendEditor(Sci::SCI_BRACEBADLIGHT, w(brace));
    }
}
