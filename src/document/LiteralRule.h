#pragma once
// A rule whose pattern holds no metacharacter once the engine has read it ("<confirm", "a\.b"):
// matched by a plain search instead of the engine, with the engine's caseless matching, so that
// a rule file of such rules costs about a pass over the text each.

#include "document/RuleRegex.h"

#include <QString>
#include <QStringView>
#include <array>
#include <chrono>
#include <optional>

class LiteralRule {
public:
    // The literal the pattern stands for, when this search finds exactly what the engine finds:
    // the pattern's characters are ASCII or without case (CJK, Hangul), so that each letter
    // matches only its two ASCII cases, or three for "k" and "s" (see searchableIn).
    static std::optional<LiteralRule> of(const QString &pattern);

    // False when the text holds a character the engine also takes for one of the literal's
    // letters (the Kelvin sign for "k", the long s for "s"): the engine then runs the rule.
    bool searchableIn(QStringView text) const;

    // Every match replaced, left to right, as the engine's replacement does it: "$&" is the
    // match, "$$" a "$", and a "$" before a digit stays, as there are no groups. Without a
    // match the text comes back shared. The rule's limits of time and growth hold.
    // A result is written into *reuse's memory when given, as with the engine (RuleRegex.h).
    RuleReplacement replaceAll(const QString &text, const QString &replacement, const RuleLimits &limits,
                               QString *reuse = nullptr) const;

    // The replacement as it stands when it has the literal's length and no "$&": such a rule can
    // write over its matches.
    std::optional<QString> sameLengthReplacement(const QString &replacement) const;
    // Writes the replacement over every match; the text is copied only if shared and a match
    // changes. The same result as replaceAll with that replacement.
    RuleFailure replaceInPlace(QString &text, const QString &replacement, const RuleLimits &limits) const;

private:
    // The next match at or after a place, the clock looked at now and then (and at the start,
    // as the engine's path does, so that a rule out of time fails alike).
    class Search {
    public:
        Search(const LiteralRule &rule, const RuleLimits &limits);
        qsizetype next(const char16_t *text, qsizetype size, qsizetype from); // -1: none or a failure
        RuleFailure failure() const { return m_failure; }

    private:
        const char16_t *m_needle;
        qsizetype m_length;
        const RuleLimits &m_limits;
        std::chrono::steady_clock::time_point m_start;
        std::array<qsizetype, 256> m_skip;
        qsizetype m_nextClockRead;
        RuleFailure m_failure = RuleFailure::None;
    };

    QString m_folded; // ASCII letters in lower case
    bool m_hasK = false;
    bool m_hasS = false;
};
