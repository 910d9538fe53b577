#pragma once
// Whether a search that starts where a replaced match ended finds the same in the old text as in
// the text with the replacements before it made. The component looks at the one character before
// where a search starts: for a word's start (whole word, word start) or for a line's start (a
// regular expression's ^ and its line ends). That character is the match's last in the old text
// and the replacement's last in the new one; when the two act alike, so do both searches.

#include <QByteArrayView>
#include <array>
#include <cstdint>

class MatchContext {
public:
    enum class Looks { Nothing, WordStart, LineStart };
    // The character before the document's start, and one that is not valid UTF-8.
    static constexpr char32_t kDocumentStart = 0xFFFFFFFFu;
    static constexpr char32_t kUndecodable = 0xFFFFFFFEu;

    // The component's classes of the ASCII characters, for word starts.
    enum class AsciiClass : std::uint8_t { Space, NewLine, Word, Punctuation };
    using AsciiClasses = std::array<AsciiClass, 128>;

    MatchContext(Looks looks, const AsciiClasses &classes) : m_looks(looks), m_ascii(classes) {}

    // True only when the two characters surely make a search behave the same; unsure is false.
    bool actAlike(char32_t a, char32_t b) const;

    // The character that ends just before end in UTF-8 text; kDocumentStart at 0.
    static char32_t characterBefore(QByteArrayView utf8, qsizetype end);

private:
    // A key per character: equal keys act alike. Negative means no key is sure.
    long long wordKey(char32_t c) const;
    static int lineKey(char32_t c);

    Looks m_looks;
    AsciiClasses m_ascii;
};
