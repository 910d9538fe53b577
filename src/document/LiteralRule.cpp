#include "document/LiteralRule.h"

#include <array>
#include <vector>

namespace {

char16_t fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// Characters the engine matches caselessly only as themselves.
bool withoutCase(char16_t c)
{
    return (c >= 0x2010 && c <= 0x205F) ||  // general punctuation
           (c >= 0x2E80 && c <= 0x9FFF) ||  // CJK radicals, punctuation, kana, ideographs
           (c >= 0xAC00 && c <= 0xD7A3) ||  // Hangul
           (c >= 0xF900 && c <= 0xFAFF) ||  // CJK compatibility ideographs
           (c >= 0xFF01 && c <= 0xFF20);    // full-width punctuation and digits
}

bool isAsciiAlphanumeric(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr std::u16string_view kMetacharacters = u"\\^$.[]|()?*+{}";

// Pieces of the replacement: text as it stands, or the match ("$&").
struct ReplacementPiece {
    QString text;
    bool match = false;
};

std::vector<ReplacementPiece> piecesOf(const QString &replacement)
{
    std::vector<ReplacementPiece> pieces(1);
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        if (c == u'$' && i + 1 < replacement.size() && replacement.at(i + 1) == u'$') {
            pieces.back().text += u'$';
            ++i;
        } else if (c == u'$' && i + 1 < replacement.size() && replacement.at(i + 1) == u'&') {
            pieces.push_back({QString(), true});
            pieces.emplace_back();
            ++i;
        } else {
            pieces.back().text += c;
        }
    }
    return pieces;
}

// Positions scanned between looks at the clock.
constexpr qsizetype kScanBetweenClockReads = qsizetype(1) << 20;

} // namespace

std::optional<LiteralRule> LiteralRule::of(const QString &pattern)
{
    LiteralRule rule;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern.at(i).unicode();
        if (c == u'\\') {
            // A backslash before punctuation stands for the punctuation itself.
            if (i + 1 >= pattern.size())
                return std::nullopt;
            c = pattern.at(++i).unicode();
            if (c >= 0x80 || isAsciiAlphanumeric(c))
                return std::nullopt;
        } else if (kMetacharacters.find(c) != std::u16string_view::npos) {
            return std::nullopt;
        }
        if (c >= 0x80 && !withoutCase(c))
            return std::nullopt;
        c = fold(c);
        rule.m_hasK = rule.m_hasK || c == u'k';
        rule.m_hasS = rule.m_hasS || c == u's';
        rule.m_folded += QChar(c);
    }
    if (rule.m_folded.isEmpty())
        return std::nullopt;
    return rule;
}

bool LiteralRule::searchableIn(QStringView text) const
{
    return !(m_hasK && text.contains(QChar(0x212A))) && !(m_hasS && text.contains(QChar(0x017F)));
}

LiteralRule::Search::Search(const LiteralRule &rule, const RuleLimits &limits)
    : m_needle(reinterpret_cast<const char16_t *>(rule.m_folded.utf16())), m_length(rule.m_folded.size()),
      m_limits(limits), m_start(std::chrono::steady_clock::now())
{
    // Horspool's skips, keyed by the low byte of the folded character: characters that share a
    // key take the smallest skip, which is never too far.
    m_skip.fill(m_length);
    for (qsizetype i = 0; i + 1 < m_length; ++i)
        m_skip[m_needle[i] & 0xFF] = m_length - 1 - i;
    m_failure = ruleTimeUp(limits, m_start);
    m_nextClockRead = kScanBetweenClockReads;
}

qsizetype LiteralRule::Search::next(const char16_t *t, qsizetype n, qsizetype pos)
{
    const qsizetype m = m_length;
    const char16_t last = m_needle[m - 1];
    while (m_failure == RuleFailure::None && pos + m <= n) {
        if (pos >= m_nextClockRead) {
            if ((m_failure = ruleTimeUp(m_limits, m_start)) != RuleFailure::None)
                return -1;
            m_nextClockRead = pos + kScanBetweenClockReads;
        }
        const char16_t c = fold(t[pos + m - 1]);
        if (c == last) {
            qsizetype i = 0;
            while (i + 1 < m && fold(t[pos + i]) == m_needle[i])
                ++i;
            if (i + 1 == m)
                return pos;
        }
        pos += m_skip[c & 0xFF];
    }
    return -1;
}

RuleReplacement LiteralRule::replaceAll(const QString &text, const QString &replacement, const RuleLimits &limits,
                                        QString *reuse) const
{
    const char16_t *const t = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    const qsizetype m = m_folded.size();
    const std::vector<ReplacementPiece> pieces = piecesOf(replacement);
    Search search(*this, limits);
    QString out;
    qsizetype copied = 0;
    for (qsizetype pos = search.next(t, n, 0); pos >= 0; pos = search.next(t, n, pos + m)) {
        if (copied == 0 && out.isEmpty())
            out = reusedBuffer(reuse, n);
        out += QStringView(text).mid(copied, pos - copied);
        for (const ReplacementPiece &piece : pieces)
            out += piece.match ? QStringView(text).mid(pos, m) : QStringView(piece.text);
        copied = pos + m;
        if (limits.maxLength >= 0 && out.size() + (n - copied) > limits.maxLength)
            return {QString(), RuleFailure::TooLong};
    }
    if (search.failure() != RuleFailure::None)
        return {QString(), search.failure()};
    if (copied == 0)
        return {text, RuleFailure::None};
    out += QStringView(text).mid(copied);
    return {out, RuleFailure::None};
}

std::optional<QString> LiteralRule::sameLengthReplacement(const QString &replacement) const
{
    const std::vector<ReplacementPiece> pieces = piecesOf(replacement);
    if (pieces.size() != 1 || pieces.front().text.size() != m_folded.size())
        return std::nullopt;
    return pieces.front().text;
}

RuleFailure LiteralRule::replaceInPlace(QString &text, const QString &replacement, const RuleLimits &limits) const
{
    const qsizetype n = text.size();
    const qsizetype m = m_folded.size();
    Search search(*this, limits);
    const char16_t *t = reinterpret_cast<const char16_t *>(text.utf16());
    for (qsizetype pos = search.next(t, n, 0); pos >= 0; pos = search.next(t, n, pos + m)) {
        if (QStringView(t + pos, m) == replacement)
            continue; // already as the rule writes it: the text is not touched
        QChar *const w = text.data(); // copies a text shared with a caller, once
        std::copy(replacement.cbegin(), replacement.cend(), w + pos);
        t = reinterpret_cast<const char16_t *>(w);
    }
    return search.failure();
}
