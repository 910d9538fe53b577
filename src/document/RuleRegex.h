#pragma once
// The rule file's regular expressions: case-insensitive replacement of every match, with
// "$1".."$99", "$&" and "$$" in the replacement. The engine is PCRE2, the dialect Qt's own class
// speaks, used directly so that a pattern that exhausts the engine's limits is an error instead
// of a silently partial result. Each rule's work is bounded in steps, memory, time and growth.

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

struct pcre2_real_code_16;

struct RuleLimits {
    static constexpr qsizetype kGrowthFactor = 16;
    static constexpr qsizetype kGrowthSlack = 1024 * 1024;
    static constexpr std::chrono::seconds kConversionTime{30}; // all rules of one conversion

    std::uint32_t matchSteps = 10'000'000;   // per attempt at one place
    std::uint32_t heapKiB = 64 * 1024;       // backtracking memory per attempt
    std::chrono::milliseconds time{5000};    // the whole rule
    // The whole conversion that the rule is part of (one save): none by default.
    std::chrono::steady_clock::time_point conversionDeadline = std::chrono::steady_clock::time_point::max();
    const std::atomic<bool> *cancel = nullptr; // set by another thread to stop the work
    qsizetype maxLength = -1;                // a result's length in UTF-16 units; -1 for none
    qsizetype maxBytes = -1;                 // the same for the escaped text, in UTF-8 bytes

    // The growth allowed for the conversion of this text: kGrowthFactor times its size plus
    // kGrowthSlack.
    static RuleLimits forInput(const QString &input);
    // forInput, with the whole conversion ending kConversionTime from now.
    static RuleLimits forConversion(const QString &input, const std::atomic<bool> *cancel = nullptr);
};

enum class RuleFailure { None, InvalidPattern, EngineLimit, TimeLimit, ConversionTimeLimit, Cancelled, TooLong };

struct RuleReplacement {
    QString text;
    RuleFailure failure = RuleFailure::None;
    bool ok() const { return failure == RuleFailure::None; }
};

// A rule's pattern compiled once, for every text it is run on; copies share it, also across threads.
class RulePattern {
public:
    static RulePattern compile(const QString &pattern);
    bool valid() const { return m_code != nullptr; }

private:
    friend RuleReplacement replaceRuleMatches(const QString &, const RulePattern &, const QString &,
                                              const RuleLimits &, QString *);
    std::shared_ptr<const pcre2_real_code_16> m_code;
    std::uint32_t m_groups = 0;
    bool m_startAnchored = false; // "\G" holds where each search starts
};

RuleReplacement replaceRuleMatches(const QString &text, const QString &pattern, const QString &replacement,
                                   const RuleLimits &limits);
// Without a match the text comes back shared, not copied. A result is written into *reuse's
// memory when given: a conversion passes the text of the rule before, so that each rule does not
// take fresh memory the size of the text.
RuleReplacement replaceRuleMatches(const QString &text, const RulePattern &pattern, const QString &replacement,
                                   const RuleLimits &limits, QString *reuse = nullptr);

// The memory of *reuse (when given and not shared) as an empty string with room for `size`.
QString reusedBuffer(QString *reuse, qsizetype size);

// Whether the rule's time, the conversion's time or the user stopped the work, for work that is
// not the engine's (a plain search) measured from `start`.
RuleFailure ruleTimeUp(const RuleLimits &limits, std::chrono::steady_clock::time_point start);
