#include "editor/Folding.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using platform::LParam;
using platform::WParam;
using Sci = QsciScintillaBase;

namespace {
constexpr LParam kFoldMarginMask = static_cast<LParam>(0xFE000000u);
constexpr int kFoldMarginWidth = 20;
constexpr LParam kWhite = 0xFFFFFF;
constexpr LParam kBlack = 0;
} // namespace

void Folding::notify(const SCNotification &record)
{
    if (record.nmhdr.code != scn::MarginClick)
        return;
    const auto line = m_editor.SendEditor(Sci::SCI_LINEFROMPOSITION, static_cast<WParam>(record.position));
    if (record.margin == kMargin)
        m_editor.SendEditor(Sci::SCI_TOGGLEFOLD, static_cast<WParam>(line));
}

void Folding::apply(bool fold)
{
    clsScintilla &e = m_editor;
    if (!fold) {
        e.SetProperty(QStringLiteral("fold"), QStringLiteral("0"));
        e.SetProperty(QStringLiteral("fold.compact"), QStringLiteral("0"));
        e.SetMarginWidth(kMargin, 0);
        return;
    }
    e.SetProperty(QStringLiteral("fold"), QStringLiteral("1"));
    e.SetProperty(QStringLiteral("fold.compact"), QStringLiteral("1"));
    e.SetProperty(QStringLiteral("fold.html"), QStringLiteral("1"));

    e.SendEditor(Sci::SCI_SETMARGINTYPEN, kMargin, Sci::SC_MARGIN_SYMBOL);
    e.SendEditor(Sci::SCI_SETMARGINMASKN, kMargin, kFoldMarginMask);
    e.SetMarginWidth(kMargin, kFoldMarginWidth);

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
        e.SendEditor(Sci::SCI_MARKERDEFINE, static_cast<WParam>(marker), symbol);

    // The colour messages go in the order the fold margin has always been painted with.
    const auto fore = [&e](int marker) { e.SendEditor(Sci::SCI_MARKERSETFORE, static_cast<WParam>(marker), kWhite); };
    const auto back = [&e](int marker) { e.SendEditor(Sci::SCI_MARKERSETBACK, static_cast<WParam>(marker), kBlack); };
    fore(30); back(30); fore(31); back(31); back(27); back(29); back(28);
    fore(31); fore(27); fore(29); fore(28); back(26); fore(26); back(25); fore(25);

    e.SendEditor(Sci::SCI_SETMARGINSENSITIVEN, kMargin, 1);
    e.SendEditor(Sci::SCI_SETFOLDFLAGS, Sci::SC_FOLDFLAG_LINEAFTER_CONTRACTED, 0);
}
