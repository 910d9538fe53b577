#pragma once
// Where the component's case-insensitive search for a plain text of ASCII bytes could begin a
// match in UTF-8 text, found by a quick scan so that the component is asked only there. The
// component folds ASCII letters to lower case; beyond ASCII only a few characters fold to
// something with ASCII in it (ligatures such as "ﬁ", the Kelvin sign, the long s, "ß"), so every
// character that is not surely foreign to ASCII is a candidate too, and the component decides.
// Sure: the characters from U+3000 to U+9FFF (CJK punctuation, kana, ideographs) and the
// full-width forms, which have no case or fold to themselves.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

class MatchCandidates {
public:
    // None for a text with bytes beyond ASCII, or an empty one.
    static std::optional<MatchCandidates> forText(const QByteArray &pattern);

    // The first position at or after from where a match could start, or -1.
    qsizetype next(QByteArrayView text, qsizetype from) const;
    // A match that starts at a candidate ends within this many bytes of it: each of the text's
    // bytes is matched by a character of at most four bytes.
    qsizetype window() const { return 4 * m_lower.size() + 4; }

private:
    explicit MatchCandidates(QByteArray lower) : m_lower(std::move(lower)) {}
    // Whether the pattern could match at position, as far as bytes can tell.
    bool couldMatchAt(QByteArrayView text, qsizetype position) const;

    QByteArray m_lower;
};
