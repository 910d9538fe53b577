#include "document/RuleRegex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <memory>

namespace {

// Start positions tried per call to the engine: the clock is read between calls. A window with
// no match doubles the next one, up to the largest, each place of a larger window having a smaller
// share of the steps, so that no call does more work than one of the smallest windows.
constexpr PCRE2_SIZE kPositionsPerCall = 256;
constexpr PCRE2_SIZE kMostPositionsPerCall = PCRE2_SIZE(1) << 14;

struct CodeFree {
    void operator()(pcre2_code *p) const { pcre2_code_free(p); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data *p) const { pcre2_match_data_free(p); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context *p) const { pcre2_match_context_free(p); }
};

PCRE2_SPTR units(const QString &s) { return reinterpret_cast<PCRE2_SPTR>(s.utf16()); }

// Appends the replacement for one match, expanding "$n", "$nn", "$&" and "$$".
void appendReplacement(QString &out, const QString &replacement, const QString &text, const PCRE2_SIZE *ovector,
                       int groups)
{
    const auto group = [&](int n) {
        const PCRE2_SIZE start = ovector[2 * n];
        if (start != PCRE2_UNSET)
            out += QStringView(text).mid(static_cast<qsizetype>(start), static_cast<qsizetype>(ovector[2 * n + 1] - start));
    };
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        if (c != u'$' || i + 1 >= replacement.size()) {
            out += c;
            continue;
        }
        const QChar n = replacement.at(i + 1);
        if (n == u'$') {
            out += u'$';
            ++i;
        } else if (n == u'&') {
            group(0);
            ++i;
        } else if (n.isDigit()) {
            // Two digits when they name a group, as the scripting engine reads them.
            int number = n.digitValue();
            qsizetype used = 1;
            if (i + 2 < replacement.size() && replacement.at(i + 2).isDigit()) {
                const int two = number * 10 + replacement.at(i + 2).digitValue();
                if (two >= 1 && two <= groups) {
                    number = two;
                    used = 2;
                }
            }
            if (number >= 1 && number <= groups) {
                group(number);
                i += used;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
}

} // namespace

RuleLimits RuleLimits::forInput(const QString &input)
{
    qsizetype utf8 = 0;
    for (const QChar c : input)
        utf8 += c.unicode() < 0x80 ? 1 : (c.unicode() < 0x800 || c.isSurrogate()) ? 2 : 3; // a pair is 4
    RuleLimits limits;
    limits.maxLength = kGrowthFactor * input.size() + kGrowthSlack;
    limits.maxBytes = kGrowthFactor * utf8 + kGrowthSlack;
    return limits;
}

namespace {

// How one rule's matching is bounded in time. The engine counts steps per start place, not per
// call, so a call over many places could run for minutes: each window of places is tried first
// with a small step allowance, and a window that needs more is tried again a place at a time with
// a growing allowance, the clock read between tries. No single call then runs long past the limit.
class RuleClock {
public:
    explicit RuleClock(const RuleLimits &limits)
        : m_limits(limits), m_start(std::chrono::steady_clock::now()), m_deadline(m_start + limits.time)
    {
    }

    RuleFailure expired() const
    {
        if (m_limits.cancel && m_limits.cancel->load(std::memory_order_relaxed))
            return RuleFailure::Cancelled;
        const auto now = std::chrono::steady_clock::now();
        if (now > m_limits.conversionDeadline)
            return RuleFailure::ConversionTimeLimit;
        return now > m_deadline ? RuleFailure::TimeLimit : RuleFailure::None;
    }

    // A try expected to take this long would end past twice the limit: give up before it.
    bool wouldOverrun(std::chrono::steady_clock::duration expected) const
    {
        return std::chrono::steady_clock::now() + expected > m_start + 2 * m_limits.time;
    }

private:
    const RuleLimits &m_limits;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_deadline;
};

// Steps per start place on the first try of a window: a window of such tries ends in well under
// a second even when every place is a pathological one.
constexpr std::uint32_t kFirstTrySteps = 10'000;

// The result of a try: the engine's return code, or a failure of the rule's bounds.
struct TryResult {
    int rc = PCRE2_ERROR_NOMATCH;
    RuleFailure failure = RuleFailure::None;
};

class RuleMatcher {
public:
    RuleMatcher(const pcre2_code *code, pcre2_match_data *match, pcre2_match_context *context, const QString &text,
                const RuleLimits &limits, const RuleClock &clock)
        : m_code(code), m_match(match), m_context(context), m_text(text), m_limits(limits), m_clock(clock)
    {
    }

    int once(PCRE2_SIZE offset, PCRE2_SIZE offsetLimit, std::uint32_t options, std::uint32_t steps) const
    {
        pcre2_set_offset_limit(m_context, offsetLimit);
        pcre2_set_match_limit(m_context, steps);
        return pcre2_match(m_code, units(m_text), static_cast<PCRE2_SIZE>(m_text.size()), offset, options, m_match,
                           m_context);
    }

    // Tries with ten times the steps each round up to the rule's full allowance, as long as the
    // clock allows the next round.
    TryResult growing(PCRE2_SIZE offset, PCRE2_SIZE offsetLimit, std::uint32_t options) const
    {
        std::uint32_t steps = std::min(kFirstTrySteps, m_limits.matchSteps);
        for (;;) {
            if (const RuleFailure failure = m_clock.expired(); failure != RuleFailure::None)
                return {0, failure};
            const auto began = std::chrono::steady_clock::now();
            const int rc = once(offset, offsetLimit, options, steps);
            if (rc != PCRE2_ERROR_MATCHLIMIT || steps >= m_limits.matchSteps)
                return {rc, RuleFailure::None};
            const std::uint32_t next = steps > m_limits.matchSteps / 10 ? m_limits.matchSteps : steps * 10;
            const auto took = std::chrono::steady_clock::now() - began;
            if (m_clock.wouldOverrun(took * (next / steps + 1)))
                return {0, RuleFailure::TimeLimit};
            steps = next;
        }
    }

private:
    const pcre2_code *m_code;
    pcre2_match_data *m_match;
    pcre2_match_context *m_context;
    const QString &m_text;
    const RuleLimits &m_limits;
    const RuleClock &m_clock;
};

} // namespace

RuleLimits RuleLimits::forConversion(const QString &input, const std::atomic<bool> *cancel)
{
    RuleLimits limits = forInput(input);
    limits.conversionDeadline = std::chrono::steady_clock::now() + kConversionTime;
    limits.cancel = cancel;
    return limits;
}

RulePattern RulePattern::compile(const QString &pattern)
{
    RulePattern compiled;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    std::shared_ptr<pcre2_code> code(
        pcre2_compile(units(pattern), static_cast<PCRE2_SIZE>(pattern.size()),
                      PCRE2_UTF | PCRE2_CASELESS | PCRE2_MATCH_INVALID_UTF | PCRE2_USE_OFFSET_LIMIT, &errorCode,
                      &errorOffset, nullptr),
        CodeFree());
    if (!code)
        return compiled;
    pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE); // the interpreter serves where JIT cannot
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &compiled.m_groups);
    compiled.m_startAnchored = pattern.contains(QLatin1String("\\G"));
    compiled.m_code = std::move(code);
    return compiled;
}

RuleFailure ruleTimeUp(const RuleLimits &limits, std::chrono::steady_clock::time_point start)
{
    if (limits.cancel && limits.cancel->load(std::memory_order_relaxed))
        return RuleFailure::Cancelled;
    const auto now = std::chrono::steady_clock::now();
    if (now > limits.conversionDeadline)
        return RuleFailure::ConversionTimeLimit;
    return now > start + limits.time ? RuleFailure::TimeLimit : RuleFailure::None;
}

RuleReplacement replaceRuleMatches(const QString &text, const QString &pattern, const QString &replacement,
                                   const RuleLimits &limits)
{
    return replaceRuleMatches(text, RulePattern::compile(pattern), replacement, limits);
}

QString reusedBuffer(QString *reuse, qsizetype size)
{
    QString out;
    if (reuse) {
        out = std::move(*reuse);
        out.resize(0); // keeps the memory unless another copy shares it
    }
    // Room for some growth too, so that the next rule's result still fits.
    if (out.capacity() <= size)
        out.reserve(size + size / 8 + 16);
    return out;
}

RuleReplacement replaceRuleMatches(const QString &text, const RulePattern &pattern, const QString &replacement,
                                   const RuleLimits &limits, QString *reuse)
{
    const RuleClock clock(limits);
    if (!pattern.valid())
        return {QString(), RuleFailure::InvalidPattern};
    const pcre2_code *const code = pattern.m_code.get();
    const std::uint32_t groups = pattern.m_groups;

    const std::unique_ptr<pcre2_match_data, MatchDataFree> match(pcre2_match_data_create_from_pattern(code, nullptr));
    const std::unique_ptr<pcre2_match_context, MatchContextFree> context(pcre2_match_context_create(nullptr));
    if (!match || !context)
        return {QString(), RuleFailure::EngineLimit};
    pcre2_set_heap_limit(context.get(), limits.heapKiB);
    const RuleMatcher matcher(code, match.get(), context.get(), text, limits, clock);

    const PCRE2_SIZE length = static_cast<PCRE2_SIZE>(text.size());
    const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(match.get());
    QString out;
    PCRE2_SIZE copied = 0; // text before this is in out
    PCRE2_SIZE offset = 0;
    std::uint32_t options = 0; // after an empty match: not empty again at the same place
    // "\G" holds where each search starts, so a pattern that uses it is searched the way Qt
    // searches: from the end of the last match, never from a later window, and after an empty
    // match first at the same place, anchored. Other patterns search in windows of start
    // positions, with the time looked at in between, and after an empty match unanchored, which
    // finds the same matches and stays in the engine's compiled form.
    const bool startAnchored = pattern.m_startAnchored;
    const std::uint32_t afterEmpty = startAnchored ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : PCRE2_NOTEMPTY_ATSTART;
    const auto stepOverCharacter = [&text, length](PCRE2_SIZE at) {
        return at + ((at + 1 < length && text.at(at).isHighSurrogate() && text.at(at + 1).isLowSurrogate()) ? 2 : 1);
    };
    // One window of start places from offset; offset ends past the window when nothing matched.
    PCRE2_SIZE window = kPositionsPerCall;
    const std::uint32_t firstTrySteps = std::min(kFirstTrySteps, limits.matchSteps);
    const auto searchWindow = [&]() -> TryResult {
        if (startAnchored)
            return matcher.growing(offset, PCRE2_UNSET, options);
        if (const RuleFailure failure = clock.expired(); failure != RuleFailure::None)
            return {0, failure};
        PCRE2_SIZE last = offset + window;
        int rc = PCRE2_ERROR_MATCHLIMIT;
        if (window > kPositionsPerCall) {
            const auto share = static_cast<std::uint32_t>(firstTrySteps * kPositionsPerCall / window);
            rc = matcher.once(offset, last, options, std::max<std::uint32_t>(share, 1));
            if (rc == PCRE2_ERROR_MATCHLIMIT) {
                // A place needs more than its share: the smallest window from the same place.
                window = kPositionsPerCall;
                last = offset + window;
            }
        }
        if (window == kPositionsPerCall)
            rc = matcher.once(offset, last, options, firstTrySteps);
        if (rc == PCRE2_ERROR_MATCHLIMIT && firstTrySteps < limits.matchSteps) {
            // Some place needs more steps: the same places once more, one at a time.
            for (PCRE2_SIZE at = offset; at <= last && at <= length; at = stepOverCharacter(at)) {
                const TryResult one = matcher.growing(at, at, at == offset ? options : 0);
                if (one.failure != RuleFailure::None || one.rc != PCRE2_ERROR_NOMATCH)
                    return one;
            }
            rc = PCRE2_ERROR_NOMATCH;
        }
        if (rc == PCRE2_ERROR_NOMATCH) {
            offset = last + 1;
            // Never start inside a surrogate pair; its first half was tried already.
            if (offset < length && offset > 0 && text.at(offset).isLowSurrogate() &&
                text.at(offset - 1).isHighSurrogate())
                ++offset;
            window = std::min(window * 2, kMostPositionsPerCall);
        }
        return {rc, RuleFailure::None};
    };
    while (offset <= length) {
        const TryResult tried = searchWindow();
        if (tried.failure != RuleFailure::None)
            return {QString(), tried.failure};
        const int rc = tried.rc;
        if (rc == PCRE2_ERROR_NOMATCH) {
            if (startAnchored) {
                if (options == 0)
                    break;
                // No non-empty match here: go on one character further.
                options = 0;
                offset = stepOverCharacter(offset);
                continue;
            }
            options = 0;
            continue;
        }
        if (rc < 0)
            return {QString(), RuleFailure::EngineLimit};
        const PCRE2_SIZE start = ovector[0];
        const PCRE2_SIZE end = ovector[1];
        if (copied == 0 && out.isEmpty())
            out = reusedBuffer(reuse, text.size());
        out += QStringView(text).mid(static_cast<qsizetype>(copied), static_cast<qsizetype>(start - copied));
        appendReplacement(out, replacement, text, ovector, static_cast<int>(groups));
        copied = end;
        if (limits.maxLength >= 0 && out.size() + static_cast<qsizetype>(length - copied) > limits.maxLength)
            return {QString(), RuleFailure::TooLong};
        offset = end;
        options = start == end ? afterEmpty : 0;
    }
    if (copied == 0 && out.isEmpty())
        return {text, RuleFailure::None}; // nothing replaced, or only empty matches by nothing at the start
    out += QStringView(text).mid(static_cast<qsizetype>(copied));
    return {out, RuleFailure::None};
}
