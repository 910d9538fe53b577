#include "editor/Bookmarks.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using platform::LParam;
using platform::WParam;
using Sci = QsciScintillaBase;

namespace {
constexpr LParam kFlagMask = 1 << Bookmarks::kMarker;
// Every marker but the fold markers.
constexpr LParam kFlagsMarginMask = 0x1FFFFFF;
constexpr int kFlagsMarginWidth = 16;
} // namespace

void Bookmarks::showMargin(bool shown)
{
    if (!shown) {
        m_editor.SetMarginWidth(kMargin, 0);
        return;
    }
    m_editor.SetMarginWidth(kMargin, kFlagsMarginWidth);
    m_editor.SendEditor(Sci::SCI_SETMARGINMASKN, kMargin, kFlagsMarginMask);
}

void Bookmarks::toggle()
{
    const int line = m_editor.GetCurLine();
    // The whole mask is compared: a line that also carries another marker gets the flag again.
    const auto mask = m_editor.SendEditor(Sci::SCI_MARKERGET, static_cast<WParam>(line));
    if (mask != kFlagMask)
        m_editor.MarkerSet(line, kMarker);
    else
        m_editor.SendEditor(Sci::SCI_MARKERDELETE, static_cast<WParam>(line), kMarker);
}

void Bookmarks::next()
{
    auto found = m_editor.SendEditor(Sci::SCI_MARKERNEXT, static_cast<WParam>(m_editor.GetCurLine() + 1), kFlagMask);
    if (found == -1)
        found = m_editor.SendEditor(Sci::SCI_MARKERNEXT, 0, kFlagMask);
    m_editor.GotoLine(static_cast<int>(found));
}

void Bookmarks::previous()
{
    auto found =
        m_editor.SendEditor(Sci::SCI_MARKERPREVIOUS, static_cast<WParam>(m_editor.GetCurLine() - 1), kFlagMask);
    if (found == -1)
        found = m_editor.SendEditor(Sci::SCI_MARKERPREVIOUS, static_cast<WParam>(m_editor.GetLineCount()), kFlagMask);
    m_editor.GotoLine(static_cast<int>(found));
}

void Bookmarks::clear() { m_editor.SendEditor(Sci::SCI_MARKERDELETEALL, kMarker); }
