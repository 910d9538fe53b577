#pragma once
// Wildcard matching as the completion filter reads its pattern: "*" any run of characters (also
// none), "?" any one character, "#" one digit 0-9, "[...]" one character of a set of characters
// and ranges ("[!...]" one character outside it). Both sides are compared upper-cased; a
// character is a Unicode code point, so a Chinese character or an emoji is one character.

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

class WildcardPattern {
public:
    // std::nullopt for a pattern that is not valid: an unclosed "[" or a range running backwards.
    static std::optional<WildcardPattern> compile(QStringView pattern);

    // Each character of text is upper-cased as it is compared.
    bool matches(QStringView text) const;

    // Upper-cased code point by code point (simple mapping); a character whose upper case would
    // take a different number of UTF-16 units keeps its own, so positions stay where they were.
    static QString upperCased(QStringView text);

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
    // A character every match must contain and that only itself upper-cases to (a CJK
    // ideograph or an ASCII non-letter): texts without it are passed over at memchr speed.
    char16_t m_requiredUnit = 0;
};
