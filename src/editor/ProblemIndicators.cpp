#include "editor/ProblemIndicators.h"

#include <algorithm>
#include <iterator>

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

std::vector<ProblemIndicators::Run> ProblemIndicators::shownRuns(int indicator)
{
    std::vector<Run> runs;
    const qsizetype length = m_editor.SendEditor(Sci::SCI_GETLENGTH);
    for (qsizetype at = 0; at < length;) {
        const qsizetype end = m_editor.SendEditor(Sci::SCI_INDICATOREND, indicator, static_cast<platform::LParam>(at));
        if (end <= at)
            break;
        if (m_editor.SendEditor(Sci::SCI_INDICATORVALUEAT, indicator, static_cast<platform::LParam>(at)) != 0)
            runs.push_back({at, end});
        at = end;
    }
    return runs;
}

void ProblemIndicators::update(int indicator, const std::vector<Run> &wanted)
{
    const std::vector<Run> shown = shownRuns(indicator);
    if (shown == wanted)
        return;
    std::vector<Run> gone;
    std::vector<Run> added;
    std::set_difference(shown.begin(), shown.end(), wanted.begin(), wanted.end(), std::back_inserter(gone));
    std::set_difference(wanted.begin(), wanted.end(), shown.begin(), shown.end(), std::back_inserter(added));
    m_editor.SendEditor(Sci::SCI_SETINDICATORCURRENT, indicator);
    for (const Run &run : gone)
        m_editor.SendEditor(Sci::SCI_INDICATORCLEARRANGE, static_cast<platform::WParam>(run.start), run.end - run.start);
    for (const Run &run : added)
        m_editor.SendEditor(Sci::SCI_INDICATORFILLRANGE, static_cast<platform::WParam>(run.start), run.end - run.start);
}

void ProblemIndicators::show(const std::vector<Range> &ranges)
{
    const qsizetype length = m_editor.SendEditor(Sci::SCI_GETLENGTH);
    std::vector<Run> wanted[2]; // errors, warnings
    for (const Range &range : ranges) {
        const qsizetype start = std::clamp<qsizetype>(range.start, 0, length);
        const qsizetype end = std::clamp<qsizetype>(range.start + range.length, start, length);
        if (end > start)
            wanted[range.error ? 0 : 1].push_back({start, end});
    }
    // The component keeps touching and overlapping marks as one run: so must the comparison.
    for (std::vector<Run> &runs : wanted) {
        std::sort(runs.begin(), runs.end());
        std::vector<Run> merged;
        for (const Run &run : runs) {
            if (!merged.empty() && run.start <= merged.back().end)
                merged.back().end = std::max(merged.back().end, run.end);
            else
                merged.push_back(run);
        }
        runs = std::move(merged);
    }
    update(kError, wanted[0]);
    update(kWarning, wanted[1]);
}
