#include "completion/WildcardPattern.h"

#include <QChar>

namespace {

char32_t upper(char32_t ch)
{
    if (ch < 128)
        return ch >= 'a' && ch <= 'z' ? ch - 32 : ch;
    // CJK ideographs have no case; they fill the captions, so they skip the table.
    if (ch >= 0x4E00 && ch <= 0x9FFF)
        return ch;
    return QChar::toUpper(ch);
}

// The code point at i and how many UTF-16 units it takes; a lone surrogate stands for itself.
char32_t codePointAt(QStringView text, qsizetype i, qsizetype &units)
{
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
        units = 2;
        return QChar::surrogateToUcs4(unit, text[i + 1].unicode());
    }
    units = 1;
    return unit;
}

} // namespace

QString WildcardPattern::upperCased(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t *data = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t unit = text[i].unicode();
        if (unit < 128) {
            data[i++] = unit >= u'a' && unit <= u'z' ? unit - 32 : unit;
            continue;
        }
        qsizetype units = 1;
        const char32_t ch = codePointAt(text, i, units);
        const char32_t up = upper(ch);
        if (QChar::requiresSurrogates(up) == (units == 2)) {
            if (units == 2) {
                data[i] = QChar::highSurrogate(up);
                data[i + 1] = QChar::lowSurrogate(up);
            } else {
                data[i] = static_cast<char16_t>(up);
            }
        } else {
            for (qsizetype k = 0; k < units; ++k)
                data[i + k] = text[i + k].unicode();
        }
        i += units;
    }
    return out;
}

std::optional<WildcardPattern> WildcardPattern::compile(QStringView patternText)
{
    std::u32string p;
    const QString upperPattern = upperCased(patternText);
    for (qsizetype i = 0, units = 1; i < upperPattern.size(); i += units)
        p.push_back(codePointAt(upperPattern, i, units));
    WildcardPattern result;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'*') {
            if (result.m_tokens.empty() || result.m_tokens.back().kind != Token::Star)
                result.m_tokens.push_back({Token::Star});
        } else if (c == U'?') {
            result.m_tokens.push_back({Token::AnyOne});
        } else if (c == U'#') {
            result.m_tokens.push_back({Token::Digit});
        } else if (c == U'[') {
            const std::size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos)
                return std::nullopt;
            std::size_t j = i + 1;
            Token set{Token::Set};
            if (j < close && p[j] == U'!') {
                set.negated = true;
                ++j;
            }
            set.firstRange = result.m_ranges.size();
            for (; j < close; ++j) {
                // A "-" between two characters makes a range; at either end it stands for itself.
                if (j + 2 < close && p[j + 1] == U'-') {
                    if (p[j] > p[j + 2])
                        return std::nullopt;
                    result.m_ranges.push_back({p[j], p[j + 2]});
                    j += 2;
                } else {
                    result.m_ranges.push_back({p[j], p[j]});
                }
            }
            set.rangeCount = result.m_ranges.size() - set.firstRange;
            // "[]" matches no character at all: it is left out.
            if (set.rangeCount > 0 || set.negated)
                result.m_tokens.push_back(set);
            i = close;
        } else {
            result.m_tokens.push_back({Token::Literal, c});
            const bool onlyItself = (c >= 0x4E00 && c <= 0x9FFF) ||
                                    (c < 128 && !(c >= U'A' && c <= U'Z') && !(c >= U'a' && c <= U'z'));
            if (!result.m_requiredUnit && onlyItself)
                result.m_requiredUnit = static_cast<char16_t>(c);
        }
    }
    return result;
}

bool WildcardPattern::matchesOne(const Token &token, char32_t ch) const
{
    switch (token.kind) {
    case Token::Literal: return token.ch == ch;
    case Token::AnyOne: return true;
    case Token::Digit: return ch >= U'0' && ch <= U'9';
    case Token::Set: {
        bool inside = false;
        for (std::size_t r = token.firstRange; r < token.firstRange + token.rangeCount && !inside; ++r)
            inside = ch >= m_ranges[r].low && ch <= m_ranges[r].high;
        return inside != token.negated;
    }
    case Token::Star: break;
    }
    return false;
}

bool WildcardPattern::matches(QStringView text) const
{
    if (m_requiredUnit && !text.contains(QChar(m_requiredUnit)))
        return false;
    // Greedy matching that falls back to the last "*": every other token takes one character,
    // so the work stays within text length times pattern length.
    qsizetype t = 0, starText = 0;
    std::size_t k = 0, starToken = std::string::npos;
    while (t < text.size()) {
        if (k < m_tokens.size() && m_tokens[k].kind == Token::Star) {
            starToken = k++;
            starText = t;
            continue;
        }
        qsizetype units = 1;
        if (k < m_tokens.size() && matchesOne(m_tokens[k], upper(codePointAt(text, t, units)))) {
            ++k;
            t += units;
        } else if (starToken != std::string::npos) {
            k = starToken + 1;
            codePointAt(text, starText, units);
            starText += units;
            t = starText;
        } else {
            return false;
        }
    }
    while (k < m_tokens.size() && m_tokens[k].kind == Token::Star)
        ++k;
    return k == m_tokens.size();
}
