#pragma once
// Wildcard matching as the completion filter reads its pattern: "*" any run of characters (also
// none), "?" any one character, "#" one digit 0-9, "[...]" one character of a set of characters
// and ranges ("[!...]" one character outside it). Both sides are compared upper-cased; a
// character is a Unicode code point, so a Chinese character or an emoji is one character.

#include <QStringView>
#include <optional>
#include <vector>

class WildcardPattern {
public:
    // std::nullopt for a pattern that is not valid: an unclosed "[" or a range running backwards.
    static std::optional<WildcardPattern> compile(QStringView pattern);

    bool matches(QStringView text) const;

private:
    struct Range {
        char32_t low;
        char32_t high;
    };
    struct Token {
        enum Kind { Literal, AnyOne, Digit, Set, Star } kind;
        char32_t ch = 0;          // Literal
        bool negated = false;     // Set
        std::size_t firstRange = 0; // Set: its ranges in m_ranges
        std::size_t rangeCount = 0;
    };

    bool matchesOne(const Token &token, char32_t ch) const;

    std::vector<Token> m_tokens;
    std::vector<Range> m_ranges;
};
