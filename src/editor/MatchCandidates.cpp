#include "editor/MatchCandidates.h"

namespace {
unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// Whether the byte at i surely belongs to a character whose folded form holds no ASCII.
bool foreignToAscii(QByteArrayView text, qsizetype i)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x80 && b < 0xC0)
        return true; // inside a character, or a stray byte: it folds to itself
    if (b >= 0xE3 && b <= 0xE9)
        return true; // U+3000 to U+9FFF
    // U+F000 to U+FFFF but for U+FB00 to U+FB3F, where the Latin ligatures are.
    return b == 0xEF && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) != 0xAC;
}
} // namespace

std::optional<MatchCandidates> MatchCandidates::forText(const QByteArray &pattern)
{
    if (pattern.isEmpty())
        return std::nullopt;
    QByteArray folded(pattern.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const auto c = static_cast<unsigned char>(pattern[i]);
        if (c >= 0x80)
            return std::nullopt;
        folded[i] = static_cast<char>(lower(c));
    }
    return MatchCandidates(folded);
}

bool MatchCandidates::couldMatchAt(QByteArrayView text, qsizetype position) const
{
    for (qsizetype j = 0; j < m_lower.size(); ++j) {
        if (position + j >= text.size())
            return false;
        const auto b = static_cast<unsigned char>(text[position + j]);
        if (lower(b) == static_cast<unsigned char>(m_lower[j]))
            continue;
        // A character beyond ASCII may fold to what follows: let the component see.
        return b >= 0x80 && !foreignToAscii(text, position + j);
    }
    return true;
}

qsizetype MatchCandidates::next(QByteArrayView text, qsizetype from) const
{
    const auto first = static_cast<unsigned char>(m_lower[0]);
    const auto firstUpper = static_cast<unsigned char>(first >= 'a' && first <= 'z' ? first - 32 : first);
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    for (qsizetype i = qMax<qsizetype>(from, 0); i < text.size(); ++i) {
        const unsigned char b = bytes[i];
        if (b < 0x80 ? (b == first || b == firstUpper) && couldMatchAt(text, i)
                     : b >= 0xC0 && !foreignToAscii(text, i))
            return i;
    }
    return -1;
}
