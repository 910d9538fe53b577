#include "editor/CharacterDistance.h"

#include <algorithm>
#include <cstdlib>

qsizetype CharacterDistance::count(qsizetype from, qsizetype to)
{
    using Sci = QsciScintillaBase;
    if (to < from)
        return -count(to, from);
    return m_editor.SendEditor(Sci::SCI_COUNTCHARACTERS, static_cast<platform::WParam>(from), to);
}

qsizetype CharacterDistance::between(qsizetype from, qsizetype to)
{
    // From the last count when the caret moved less than the whole distance.
    if (from == m_from && m_to >= 0 && std::abs(to - m_to) < std::abs(to - from))
        m_chars += count(m_to, to);
    else
        m_chars = count(from, to);
    m_from = from;
    m_to = to;
    return m_chars;
}

void CharacterDistance::changedAt(qsizetype position)
{
    if (position < std::max(m_from, m_to))
        m_from = m_to = -1;
}
