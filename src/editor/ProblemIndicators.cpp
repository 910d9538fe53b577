#include "editor/ProblemIndicators.h"

#include <algorithm>

using Sci = QsciScintillaBase;

namespace {
// The component's colours are 0xBBGGRR.
constexpr platform::WParam kRed = 0x0000E0;
constexpr platform::WParam kOrange = 0x008CFF;
} // namespace

void ProblemIndicators::setUp()
{
    for (const auto &[indicator, colour] : {std::pair{kError, kRed}, std::pair{kWarning, kOrange}}) {
        m_editor.SendEditor(Sci::SCI_INDICSETSTYLE, indicator, Sci::INDIC_SQUIGGLE);
        m_editor.SendEditor(Sci::SCI_INDICSETFORE, indicator, static_cast<platform::LParam>(colour));
    }
}

void ProblemIndicators::clear()
{
    const auto length = m_editor.SendEditor(Sci::SCI_GETLENGTH);
    for (int indicator : {kError, kWarning}) {
        m_editor.SendEditor(Sci::SCI_SETINDICATORCURRENT, indicator);
        m_editor.SendEditor(Sci::SCI_INDICATORCLEARRANGE, 0, length);
    }
}

void ProblemIndicators::show(const std::vector<Range> &ranges)
{
    clear();
    const qsizetype length = m_editor.SendEditor(Sci::SCI_GETLENGTH);
    int current = -1;
    for (const Range &range : ranges) {
        const qsizetype start = std::clamp<qsizetype>(range.start, 0, length);
        const qsizetype end = std::clamp<qsizetype>(range.start + range.length, start, length);
        if (end == start)
            continue;
        const int indicator = range.error ? kError : kWarning;
        if (indicator != current) {
            m_editor.SendEditor(Sci::SCI_SETINDICATORCURRENT, indicator);
            current = indicator;
        }
        m_editor.SendEditor(Sci::SCI_INDICATORFILLRANGE, static_cast<platform::WParam>(start), end - start);
    }
}
