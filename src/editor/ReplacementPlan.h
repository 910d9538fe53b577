#pragma once
// The matches of one replace-all, all found before the text changes, and what the text and its
// positions become when each match is replaced by the same literal text. Pure logic on UTF-8.

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

class ReplacementPlan {
public:
    struct Match {
        qsizetype start = 0;
        qsizetype end = 0;
    };

    explicit ReplacementPlan(QByteArray replacement) : m_replacement(std::move(replacement)) {}

    // Matches come in order and do not overlap; an empty one may touch the one before.
    void add(qsizetype start, qsizetype end);
    qsizetype size() const { return static_cast<qsizetype>(m_matches.size()); }
    bool empty() const { return m_matches.empty(); }
    const std::vector<Match> &matches() const { return m_matches; }
    const QByteArray &replacement() const { return m_replacement; }

    // The part of the old text that changes: from the first match's start to the last one's end.
    qsizetype spanStart() const { return m_matches.front().start; }
    qsizetype spanEnd() const { return m_matches.back().end; }
    // How much longer the whole text becomes (negative when shorter).
    qsizetype growth() const;
    // Where a position of the old text lies in the new one, as the component moves positions
    // when each match is deleted and the replacement inserted at its start: a position inside
    // a match or at its end goes to its start; one at a match's start stays before the insert.
    qsizetype mapPosition(qsizetype position) const;
    // The new form of the span, from the old text whole.
    QByteArray buildSpan(QByteArrayView text) const;

private:
    // The change in length made by the matches before the one with this index.
    qsizetype growthBefore(std::size_t index) const;

    QByteArray m_replacement;
    std::vector<Match> m_matches;
    // Running total of the matches' lengths: m_matchedBefore[i] covers matches [0, i).
    std::vector<qsizetype> m_matchedBefore{0};
};
