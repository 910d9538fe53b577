#include "editor/OnePassReplace.h"

#include "editor/ReplacementPlan.h"
#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <vector>

using platform::LParam;
using platform::WParam;
using Sci = QsciScintillaBase;

namespace {
WParam w(qsizetype value) { return static_cast<WParam>(value); }
LParam l(qsizetype value) { return static_cast<LParam>(value); }
constexpr LParam kEveryMarker = static_cast<LParam>(~0u);

struct Selection {
    qsizetype caret = 0;
    qsizetype anchor = 0;
};

// What the one large change would otherwise move, in the old text's positions.
class KeptView {
public:
    KeptView(clsScintilla &editor, const ReplacementPlan &plan) : m_editor(editor), m_plan(plan)
    {
        keepSelections();
        const auto firstVisible = get(Sci::SCI_GETFIRSTVISIBLELINE);
        const auto topLine = get(Sci::SCI_DOCLINEFROMVISIBLE, firstVisible);
        m_topLineStart = get(Sci::SCI_POSITIONFROMLINE, topLine);
        m_wrappedRowsAbove = firstVisible - get(Sci::SCI_VISIBLEFROMDOCLINE, topLine);
        m_xOffset = get(Sci::SCI_GETXOFFSET);
    }

    void restore() const
    {
        restoreSelections();
        const auto topLine = get(Sci::SCI_LINEFROMPOSITION, m_plan.mapPosition(m_topLineStart));
        m_editor.SendEditor(Sci::SCI_SETFIRSTVISIBLELINE,
                            w(get(Sci::SCI_VISIBLEFROMDOCLINE, topLine) + m_wrappedRowsAbove));
        m_editor.SendEditor(Sci::SCI_SETXOFFSET, w(m_xOffset));
    }

private:
    qsizetype get(unsigned int message, qsizetype wParam = 0, qsizetype lParam = 0) const
    {
        return static_cast<qsizetype>(m_editor.SendEditor(message, w(wParam), l(lParam)));
    }

    void keepSelections()
    {
        m_rectangular = get(Sci::SCI_SELECTIONISRECTANGLE) != 0;
        if (m_rectangular) {
            m_selections.push_back(
                {get(Sci::SCI_GETRECTANGULARSELECTIONCARET), get(Sci::SCI_GETRECTANGULARSELECTIONANCHOR)});
            return;
        }
        const qsizetype count = get(Sci::SCI_GETSELECTIONS);
        for (qsizetype i = 0; i < count; ++i)
            m_selections.push_back({get(Sci::SCI_GETSELECTIONNCARET, i), get(Sci::SCI_GETSELECTIONNANCHOR, i)});
        m_mainSelection = get(Sci::SCI_GETMAINSELECTION);
    }

    void restoreSelections() const
    {
        const auto mapped = [this](const Selection &s) {
            return Selection{m_plan.mapPosition(s.caret), m_plan.mapPosition(s.anchor)};
        };
        if (m_rectangular) {
            const Selection s = mapped(m_selections.front());
            m_editor.SendEditor(Sci::SCI_SETRECTANGULARSELECTIONANCHOR, w(s.anchor));
            m_editor.SendEditor(Sci::SCI_SETRECTANGULARSELECTIONCARET, w(s.caret));
            return;
        }
        for (std::size_t i = 0; i < m_selections.size(); ++i) {
            const Selection s = mapped(m_selections[i]);
            m_editor.SendEditor(i == 0 ? Sci::SCI_SETSELECTION : Sci::SCI_ADDSELECTION, w(s.caret), l(s.anchor));
        }
        m_editor.SendEditor(Sci::SCI_SETMAINSELECTION, w(m_mainSelection));
    }

    clsScintilla &m_editor;
    const ReplacementPlan &m_plan;
    std::vector<Selection> m_selections;
    qsizetype m_mainSelection = 0;
    bool m_rectangular = false;
    qsizetype m_topLineStart = 0;
    qsizetype m_wrappedRowsAbove = 0;
    qsizetype m_xOffset = 0;
};
} // namespace

bool replaceInOnePass(clsScintilla &editor, const ReplacementPlan &plan)
{
    if (plan.empty())
        return true;
    // Where a marker (a bookmark) sits on a line of the span, the component's own moves of
    // markers under many small changes are kept by making them.
    const auto firstLine = editor.SendEditor(Sci::SCI_LINEFROMPOSITION, w(plan.spanStart()));
    const auto marked = editor.SendEditor(Sci::SCI_MARKERNEXT, static_cast<WParam>(firstLine), kEveryMarker);
    if (marked >= 0 && marked <= editor.SendEditor(Sci::SCI_LINEFROMPOSITION, w(plan.spanEnd())))
        return false;
    const KeptView view(editor, plan);
    const QByteArray span = plan.buildSpan(editor.TextBytesView());
    editor.SendEditor(Sci::SCI_SETTARGETSTART, w(plan.spanStart()));
    editor.SendEditor(Sci::SCI_SETTARGETEND, w(plan.spanEnd()));
    editor.SendEditor(Sci::SCI_REPLACETARGET, w(span.size()), reinterpret_cast<LParam>(span.constData()));
    view.restore();
    // The target ends on the last replacement, as after one replacement at a time.
    const qsizetype lastStart = plan.spanStart() + span.size() - plan.replacement().size();
    editor.SendEditor(Sci::SCI_SETTARGETSTART, w(lastStart));
    editor.SendEditor(Sci::SCI_SETTARGETEND, w(lastStart + plan.replacement().size()));
    return true;
}
