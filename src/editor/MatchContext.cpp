#include "editor/MatchContext.h"

namespace {
// The component's own classes beyond ASCII come from its Unicode table. Only ranges whose class
// has stood in every Unicode version are trusted here: the common ideographs and full-width forms.
bool inRange(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

constexpr long long kWordKey = static_cast<long long>(MatchContext::AsciiClass::Word);
constexpr long long kPunctuationKey = static_cast<long long>(MatchContext::AsciiClass::Punctuation);
constexpr long long kStartKey = 16;
constexpr long long kOwnKeyBase = 1LL << 32; // a character that acts only like itself
} // namespace

long long MatchContext::wordKey(char32_t c) const
{
    if (c == kDocumentStart)
        return kStartKey;
    if (c == kUndecodable)
        return -1;
    if (c < 0x80)
        return static_cast<long long>(m_ascii[c]);
    if (inRange(c, 0x4E00, 0x9FA5) || inRange(c, 0x3400, 0x4DB5) || inRange(c, 0xFF10, 0xFF19) ||
        inRange(c, 0xFF21, 0xFF3A) || inRange(c, 0xFF41, 0xFF5A))
        return kWordKey;
    if (inRange(c, 0xFF01, 0xFF0F) || inRange(c, 0xFF1A, 0xFF20) || inRange(c, 0xFF3B, 0xFF40) ||
        inRange(c, 0xFF5B, 0xFF5E) || inRange(c, 0x3001, 0x3002))
        return kPunctuationKey;
    return kOwnKeyBase + c;
}

int MatchContext::lineKey(char32_t c)
{
    // Lines are found by their bytes: only CR, LF and the document's start matter.
    switch (c) {
    case kDocumentStart:
        return 0;
    case U'\n':
        return 1;
    case U'\r':
        return 2;
    default:
        return 3;
    }
}

bool MatchContext::actAlike(char32_t a, char32_t b) const
{
    switch (m_looks) {
    case Looks::Nothing:
        return true;
    case Looks::LineStart:
        return lineKey(a) == lineKey(b);
    case Looks::WordStart: {
        const long long key = wordKey(a);
        return key >= 0 && key == wordKey(b);
    }
    }
    return false;
}

char32_t MatchContext::characterBefore(QByteArrayView utf8, qsizetype end)
{
    if (end <= 0)
        return kDocumentStart;
    const auto byte = [&utf8](qsizetype i) { return static_cast<unsigned char>(utf8[i]); };
    if (byte(end - 1) < 0x80)
        return byte(end - 1);
    // Back over at most three continuation bytes to the lead.
    qsizetype lead = end - 1;
    while (lead > 0 && end - lead < 4 && (byte(lead) & 0xC0) == 0x80)
        --lead;
    const unsigned char first = byte(lead);
    const qsizetype width = first >= 0xF8 ? 0 : first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 0;
    if (width != end - lead)
        return kUndecodable;
    char32_t c = first & (0x7F >> width);
    for (qsizetype i = lead + 1; i < end; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kUndecodable;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms and surrogates are not characters to the component either.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[width] || c > 0x10FFFF || inRange(c, 0xD800, 0xDFFF))
        return kUndecodable;
    return c;
}
