// The rule file "KeyWord.txt" and the escaping it steers. The input is the rule file's bytes
// (ANSI code page), a NUL byte, then the readable text (UTF-8). Whenever the conversion succeeds
// it must equal the rule passes and the replacement tables applied step by step, with the
// patterns run through Qt's own driver of the same engine.

#include "FuzzSupport.h"
#include "document/DefineEscaping.h"
#include "platform/AnsiCodec.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// Every occurrence of before replaced by after, left to right, in one pass: the rules may grow
// a text to millions of characters, too many for replacing in place.
QString replaceAll(const QString &text, QStringView before, QStringView after)
{
    if (before.isEmpty())
        return text;
    QString out;
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(before, from)) >= 0; from = at + before.size()) {
        out += QStringView(text).mid(from, at - from);
        out += after;
    }
    out += QStringView(text).mid(from);
    return out;
}

QString escapeRows(QString text)
{
    text = replaceAll(text, u"&", u"&amp;");
    text = replaceAll(text, u"<", u"&lt;");
    text = replaceAll(text, u">", u"&gt;");
    return replaceAll(text, u"\"", u"&quot;");
}

QString restoreTagRows(QString text)
{
    static const char *const rows[][2] = {
        {"type=&quot;condition", "type=\"condition"}, {"type=&quot;define", "type=\"define"},
        {"type=&quot;procedure", "type=\"procedure"}, {"condition=&quot;true", "condition=\"true"},
        {"type=&quot;", "type=\""}, {"condition=&quot;", "condition=\""},
        {"&lt;define&gt;", "<define>"}, {"&lt;define", "<define"}, {"&lt;/define&gt;", "</define>"},
        {"&lt;sql&gt;", "<sql>"}, {"&lt;sql", "<sql"}, {"&lt;/sql&gt;", "</sql>"},
        {"&lt;condition&gt;", "<condition>"}, {"&lt;condition", "<condition"},
        {"&lt;/condition&gt;", "</condition>"}, {"&lt;select&gt;", "<select>"}, {"&lt;select", "<select"},
        {"&lt;/select&gt;", "</select>"}, {"&lt;exec&gt;", "<exec>"}, {"&lt;exec", "<exec"},
        {"&lt;/exec&gt;", "</exec>"}, {"&lt;error&gt;", "<error>"}, {"&lt;error", "<error"},
        {"&lt;/error&gt;", "</error>"}, {"&lt;!--", "<!--"}, {"--&gt;", "-->"},
    };
    for (const auto &row : rows)
        text = replaceAll(text, QString::fromLatin1(row[0]), QString::fromLatin1(row[1]));
    return text;
}

// Empty once its surrounding spaces are removed; only the space character counts.
bool blank(const QString &field)
{
    return std::all_of(field.begin(), field.end(), [](QChar c) { return c == u' '; });
}

// Every case-insensitive match replaced, "$1".."$99", "$&" and "$$" expanded; std::nullopt for
// an invalid pattern.
std::optional<QString> replaceWithQt(const QString &text, const QString &pattern, const QString &replacement)
{
    const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
    if (!re.isValid())
        return std::nullopt;
    const int groups = re.captureCount();
    QString out;
    qsizetype last = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        for (qsizetype i = 0; i < replacement.size(); ++i) {
            const QChar c = replacement.at(i);
            const QChar n = i + 1 < replacement.size() ? replacement.at(i + 1) : QChar();
            if (c != u'$' || n.isNull()) {
                out += c;
            } else if (n == u'$') {
                out += u'$';
                ++i;
            } else if (n == u'&') {
                out += m.captured(0);
                ++i;
            } else if (n.isDigit()) {
                const int one = n.digitValue();
                const QChar n2 = i + 2 < replacement.size() ? replacement.at(i + 2) : QChar();
                const int two = n2.isDigit() ? one * 10 + n2.digitValue() : -1;
                if (two >= 1 && two <= groups) {
                    out += m.captured(two);
                    i += 2;
                } else if (one >= 1 && one <= groups) {
                    out += m.captured(one);
                    i += 1;
                } else {
                    out += c;
                }
            } else {
                out += c;
            }
        }
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

struct StepByStep {
    enum Result { Converted, InvalidPattern, TooLong } result;
    QString text;
};

// The escaping spelled out step by step over the rule lines, stopping where a text outgrows the
// limits as the conversion itself must.
StepByStep escapeStepByStep(QString text, const KeyWordRules &rules, const RuleLimits &limits)
{
    for (const KeyWordRule &rule : rules.rules) {
        if (rule.fields.size() < 2 || rule.fields.at(0).isEmpty())
            continue;
        const std::optional<QString> replaced = replaceWithQt(text, rule.fields.at(0), rule.fields.at(1));
        if (!replaced)
            return {StepByStep::InvalidPattern, {}};
        if (replaced->size() > limits.maxLength)
            return {StepByStep::TooLong, {}};
        text = *replaced;
    }
    text = escapeRows(text);
    for (const KeyWordRule &rule : rules.rules) {
        const QStringList &f = rule.fields;
        if (f.size() == 2 && !blank(f.at(1)))
            text = replaceAll(text, escapeRows(f.at(1)), f.at(1));
        else if (f.size() >= 3 && !blank(f.at(1)) && !blank(f.at(2)))
            text = replaceAll(text, f.at(1), f.at(2));
        if (text.size() > limits.maxBytes)
            return {StepByStep::TooLong, {}};
    }
    return {StepByStep::Converted, restoreTagRows(text)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype nul = input.indexOf('\0');
    const QByteArray ruleBytes = nul < 0 ? input : input.left(nul);
    const QString text = nul < 0 ? QString() : QString::fromUtf8(input.mid(nul + 1));

    const QString ruleText = platform::AnsiCodec().decode(ruleBytes);
    const KeyWordRules rules = KeyWordRules::fromText(ruleText);
    fuzz::expect("rules from text are present", rules.present);

    // Every non-empty line is one rule, in order, and its fields join back into the line.
    QStringList lines = ruleText.split(u'\n');
    std::size_t next = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        fuzz::expect("a rule for every non-empty line", next < rules.rules.size());
        const KeyWordRule &rule = rules.rules.at(next++);
        fuzz::expect("rule line number", rule.lineNumber == i + 1);
        fuzz::expectEqual("rule fields join into the line", rule.fields.join(u'|'), line);
    }
    fuzz::expect("no rule without a line", next == rules.rules.size());

    // The editor's growth bound with less slack, so that one run stays short; below the bound
    // the rules work the same.
    RuleLimits limits = RuleLimits::forInput(text);
    limits.maxLength = RuleLimits::kGrowthFactor * text.size() + 64 * 1024;
    limits.maxBytes = 3 * limits.maxLength;
    const EscapeOutcome outcome = EscapeDefineText(text, rules, limits);
    fuzz::expect("a failure names the rule file's line",
                 outcome.ok() || outcome.error.startsWith(QLatin1String("KeyWord.txt")));
    const bool calledInvalid = !outcome.ok() && outcome.error.contains(QStringLiteral("的正则表达式无效"));
    const StepByStep expected = escapeStepByStep(text, rules, limits);
    switch (expected.result) {
    case StepByStep::InvalidPattern:
        // An earlier rule may have stopped it at a limit first.
        fuzz::expect("an invalid pattern fails the conversion", !outcome.ok());
        break;
    case StepByStep::Converted:
        // Unless the limits on work or time stopped a rule, the results agree.
        fuzz::expect("a valid pattern is not called invalid", !calledInvalid);
        if (outcome.ok())
            fuzz::expectEqual("escaping equals the step-by-step passes", outcome.text, expected.text);
        break;
    case StepByStep::TooLong: break;
    }
    return 0;
}
