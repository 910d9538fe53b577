#include "document/RuleRegex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>

namespace {

// Start positions tried per call to the engine: the time limit is looked at between calls.
constexpr PCRE2_SIZE kPositionsPerCall = 256;

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

RuleReplacement replaceRuleMatches(const QString &text, const QString &pattern, const QString &replacement,
                                   const RuleLimits &limits)
{
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    const std::unique_ptr<pcre2_code, CodeFree> code(
        pcre2_compile(units(pattern), static_cast<PCRE2_SIZE>(pattern.size()),
                      PCRE2_UTF | PCRE2_CASELESS | PCRE2_MATCH_INVALID_UTF | PCRE2_USE_OFFSET_LIMIT, &errorCode,
                      &errorOffset, nullptr));
    if (!code)
        return {QString(), RuleFailure::InvalidPattern};
    pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE); // the interpreter serves where JIT cannot
    std::uint32_t groups = 0;
    pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &groups);

    const std::unique_ptr<pcre2_match_data, MatchDataFree> match(
        pcre2_match_data_create_from_pattern(code.get(), nullptr));
    const std::unique_ptr<pcre2_match_context, MatchContextFree> context(pcre2_match_context_create(nullptr));
    if (!match || !context)
        return {QString(), RuleFailure::EngineLimit};
    pcre2_set_match_limit(context.get(), limits.matchSteps);
    pcre2_set_heap_limit(context.get(), limits.heapKiB);

    const auto deadline = std::chrono::steady_clock::now() + limits.time;
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
    const bool startAnchored = pattern.contains(QLatin1String("\\G"));
    const PCRE2_SIZE window = startAnchored ? PCRE2_UNSET : kPositionsPerCall;
    const std::uint32_t afterEmpty = startAnchored ? (PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED) : PCRE2_NOTEMPTY_ATSTART;
    const auto stepOverCharacter = [&text, length](PCRE2_SIZE at) {
        return at + ((at + 1 < length && text.at(at).isHighSurrogate() && text.at(at + 1).isLowSurrogate()) ? 2 : 1);
    };
    while (offset <= length) {
        if (std::chrono::steady_clock::now() > deadline)
            return {QString(), RuleFailure::TimeLimit};
        pcre2_set_offset_limit(context.get(), startAnchored ? PCRE2_UNSET : offset + window);
        const int rc = pcre2_match(code.get(), units(text), length, offset, options, match.get(), context.get());
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
            offset += window + 1;
            // Never start inside a surrogate pair; its first half was tried already.
            if (offset < length && offset > 0 && text.at(offset).isLowSurrogate() &&
                text.at(offset - 1).isHighSurrogate())
                ++offset;
            continue;
        }
        if (rc < 0)
            return {QString(), RuleFailure::EngineLimit};
        const PCRE2_SIZE start = ovector[0];
        const PCRE2_SIZE end = ovector[1];
        out += QStringView(text).mid(static_cast<qsizetype>(copied), static_cast<qsizetype>(start - copied));
        appendReplacement(out, replacement, text, ovector, static_cast<int>(groups));
        copied = end;
        if (limits.maxLength >= 0 && out.size() + static_cast<qsizetype>(length - copied) > limits.maxLength)
            return {QString(), RuleFailure::TooLong};
        offset = end;
        options = start == end ? afterEmpty : 0;
    }
    out += QStringView(text).mid(static_cast<qsizetype>(copied));
    return {out, RuleFailure::None};
}
