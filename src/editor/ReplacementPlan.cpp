#include "editor/ReplacementPlan.h"

#include <algorithm>
#include <cstring>

void ReplacementPlan::add(qsizetype start, qsizetype end)
{
    m_matches.push_back({start, end});
    m_matchedBefore.push_back(m_matchedBefore.back() + (end - start));
}

qsizetype ReplacementPlan::growthBefore(std::size_t index) const
{
    return static_cast<qsizetype>(index) * m_replacement.size() - m_matchedBefore[index];
}

qsizetype ReplacementPlan::growth() const { return growthBefore(m_matches.size()); }

qsizetype ReplacementPlan::mapPosition(qsizetype position) const
{
    // The last match that starts before the position decides.
    const auto after = std::lower_bound(m_matches.begin(), m_matches.end(), position,
                                        [](const Match &m, qsizetype p) { return m.start < p; });
    if (after == m_matches.begin())
        return position;
    const auto index = static_cast<std::size_t>(after - m_matches.begin()) - 1;
    const Match &m = m_matches[index];
    if (position <= m.end)
        return m.start + growthBefore(index);
    return position + growthBefore(index + 1);
}

QByteArray ReplacementPlan::buildSpan(QByteArrayView text) const
{
    if (m_matches.empty())
        return {};
    QByteArray out(spanEnd() - spanStart() + growth(), Qt::Uninitialized);
    char *to = out.data();
    const auto copy = [&to](const char *from, qsizetype length) {
        if (length > 0)
            std::memcpy(to, from, static_cast<std::size_t>(length));
        to += length;
    };
    qsizetype copied = spanStart();
    for (const Match &m : m_matches) {
        copy(text.data() + copied, m.start - copied);
        copy(m_replacement.constData(), m_replacement.size());
        copied = m.end;
    }
    return out;
}
