#include "document/DefineEscaping.h"

#include "document/CompiledRules.h"
#include "platform/AnsiCodec.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <algorithm>
#include <utility>

QString UnescapeDefineText(const QString &text) { return QString::fromUtf8(unescapeDefineUtf8(text.toUtf8())); }

QString EscapeEntities(const QString &text) { return QString::fromUtf8(escapeEntitiesUtf8(text.toUtf8())); }

std::optional<QString> RegexReplaceAll(const QString &text, const QString &pattern, const QString &replacement)
{
    RuleReplacement result = replaceRuleMatches(text, pattern, replacement, RuleLimits::forInput(text));
    if (!result.ok())
        return std::nullopt;
    return std::move(result.text);
}

KeyWordRules KeyWordRules::fromText(const QString &text)
{
    KeyWordRules rules;
    rules.present = true;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        rules.rules.push_back(KeyWordRule{i + 1, line.split(QLatin1Char('|'))});
    }
    rules.compiled = CompiledRules::of(rules.rules);
    return rules;
}

KeyWordRules KeyWordRules::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    KeyWordRules rules = fromText(platform::AnsiCodec().decode(file.readAll()));
    rules.path = path;
    return rules;
}

KeyWordRules KeyWordRules::fromProgramFolder()
{
    return load(platform::findProgramFile(QStringLiteral("KeyWord.txt")));
}

namespace {

// Empty once its surrounding spaces are removed; tabs and other blanks are text.
bool blank(const QString &field)
{
    return std::all_of(field.begin(), field.end(), [](QChar c) { return c == u' '; });
}

QString ruleFailure(const KeyWordRule &rule, RuleFailure failure, const RuleLimits &limits)
{
    const QString where = QStringLiteral("KeyWord.txt 第 %1 行").arg(rule.lineNumber);
    const QString &pattern = rule.fields.at(0);
    switch (failure) {
    case RuleFailure::InvalidPattern: return where + QStringLiteral("的正则表达式无效: ") + pattern;
    case RuleFailure::EngineLimit:
        return where + QStringLiteral("的正则表达式超出了匹配的工作限度,转换已停止: ") + pattern;
    case RuleFailure::TimeLimit:
        return where + QStringLiteral("的正则表达式耗时超过 %1 秒,转换已停止: ").arg(limits.time.count() / 1000.0) +
               pattern;
    case RuleFailure::ConversionTimeLimit:
        return QStringLiteral("转换耗时超过 %1 秒,已停止(停在 KeyWord.txt 第 %2 行)。")
            .arg(RuleLimits::kConversionTime.count())
            .arg(rule.lineNumber);
    case RuleFailure::Cancelled: return QStringLiteral("转换已取消。");
    case RuleFailure::TooLong:
    case RuleFailure::None: break;
    }
    return where +
           QStringLiteral("的规则使文本增长过多(超过原文的 %1 倍再加 %2 个字符),转换已停止: ")
               .arg(RuleLimits::kGrowthFactor)
               .arg(RuleLimits::kGrowthSlack) +
           pattern;
}

// Every occurrence of from replaced by to, unless the result would pass the length bound.
bool replaceBounded(QByteArray &bytes, const QByteArray &from, const QByteArray &to, qsizetype maxBytes)
{
    if (from == to)
        return true; // a replacement without "&", "<", ">" or '"' in the two-field form
    if (to.size() > from.size() && maxBytes >= 0) {
        const qsizetype grown = bytes.size() + bytes.count(from) * (to.size() - from.size());
        if (grown > maxBytes)
            return false;
    }
    bytes.replace(from, to);
    return true;
}

} // namespace

EscapeOutcome EscapeDefineText(const QString &input, const KeyWordRules &rules)
{
    return EscapeDefineText(input, rules, RuleLimits::forConversion(input));
}

EscapeOutcome EscapeDefineText(const QString &input, const KeyWordRules &rules, const RuleLimits &limits)
{
    EscapedUtf8 escaped = EscapeDefineTextUtf8(input, rules, limits);
    if (!escaped.ok())
        return {QString(), escaped.error, escaped.cancelled};
    return {QString::fromUtf8(escaped.bytes), QString()};
}

EscapedUtf8 EscapeDefineTextUtf8(QString text, const KeyWordRules &rules, const RuleLimits &limits)
{
    if (rules.present) {
        std::shared_ptr<const CompiledRules> compiled = rules.compiled;
        if (!compiled || compiled->size() != rules.rules.size())
            compiled = CompiledRules::of(rules.rules);
        QString spare; // the text before the last rule that changed it: the next result's memory
        for (size_t i = 0; i < rules.rules.size(); ++i) {
            const KeyWordRule &rule = rules.rules[i];
            if (rule.fields.size() < 2 || rule.fields.at(0).isEmpty())
                continue;
            const RuleFailure failure = compiled->apply(i, text, rule.fields.at(1), limits, spare);
            if (failure != RuleFailure::None)
                return {QByteArray(), ruleFailure(rule, failure, limits), failure == RuleFailure::Cancelled};
        }
    }

    QByteArray readable = text.toUtf8();
    text = QString();
    if (!rules.present)
        return {escapeDefineUtf8(readable), QString()};
    QByteArray bytes = escapeEntitiesUtf8(readable);
    readable = QByteArray();

    if (rules.present) {
        const qsizetype maxBytes = limits.maxBytes;
        for (const KeyWordRule &rule : rules.rules) {
            const QStringList &f = rule.fields;
            bool kept = true;
            if (f.size() == 2 && !blank(f.at(1)))
                kept = replaceBounded(bytes, escapeEntitiesUtf8(f.at(1).toUtf8()), f.at(1).toUtf8(), maxBytes);
            else if (f.size() >= 3 && !blank(f.at(1)) && !blank(f.at(2)))
                kept = replaceBounded(bytes, f.at(1).toUtf8(), f.at(2).toUtf8(), maxBytes);
            if (!kept)
                return {QByteArray(), ruleFailure(rule, RuleFailure::TooLong, limits)};
        }
    }

    restoreTagsUtf8(bytes);
    return {std::move(bytes), QString()};
}

EscapeOutcome EscapeDefineText(const QString &text) { return EscapeDefineText(text, KeyWordRules::fromProgramFolder()); }
