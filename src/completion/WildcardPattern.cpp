#include "completion/WildcardPattern.h"

#include <QChar>

namespace {

char32_t upper(char32_t ch) { return ch < 128 ? (ch >= 'a' && ch <= 'z' ? ch - 32 : ch) : QChar::toUpper(ch); }

// The code points of a text, upper-cased; a lone surrogate stands for itself.
void decodeUpper(QStringView text, std::u32string &out)
{
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out.push_back(upper(QChar::surrogateToUcs4(unit, text[i + 1].unicode())));
            ++i;
        } else {
            out.push_back(upper(unit));
        }
    }
}

} // namespace

std::optional<WildcardPattern> WildcardPattern::compile(QStringView patternText)
{
    std::u32string p;
    decodeUpper(patternText, p);
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

bool WildcardPattern::matches(QStringView textView) const
{
    // One buffer per thread, so that filtering a long list allocates once.
    thread_local std::u32string text;
    decodeUpper(textView, text);

    // Greedy matching that falls back to the last "*": every other token takes one character,
    // so the work stays within text length times pattern length.
    std::size_t t = 0, k = 0;
    std::size_t starToken = std::string::npos, starText = 0;
    while (t < text.size()) {
        if (k < m_tokens.size() && m_tokens[k].kind == Token::Star) {
            starToken = k++;
            starText = t;
        } else if (k < m_tokens.size() && matchesOne(m_tokens[k], text[t])) {
            ++k;
            ++t;
        } else if (starToken != std::string::npos) {
            k = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (k < m_tokens.size() && m_tokens[k].kind == Token::Star)
        ++k;
    return k == m_tokens.size();
}
