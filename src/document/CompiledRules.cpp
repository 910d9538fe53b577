#include "document/CompiledRules.h"

#include "document/DefineEscaping.h"

std::shared_ptr<const CompiledRules> CompiledRules::of(const std::vector<KeyWordRule> &rules)
{
    auto compiled = std::make_shared<CompiledRules>();
    compiled->m_rules.reserve(rules.size());
    for (const KeyWordRule &rule : rules) {
        Rule ready;
        // Lines without a replacement or with an empty pattern are skipped by the conversion.
        if (rule.fields.size() >= 2 && !rule.fields.at(0).isEmpty()) {
            const QString &pattern = rule.fields.at(0);
            ready.used = true;
            ready.pattern = RulePattern::compile(pattern);
            if (ready.pattern.valid())
                ready.literal = LiteralRule::of(pattern);
            compiled->m_allLiteral = compiled->m_allLiteral && ready.literal.has_value();
        }
        compiled->m_rules.push_back(std::move(ready));
    }
    return compiled;
}

RuleFailure CompiledRules::apply(size_t i, QString &text, const QString &replacement, const RuleLimits &limits,
                                 QString &spare) const
{
    const Rule &rule = m_rules.at(i);
    const bool literal = rule.literal && rule.literal->searchableIn(text);
    if (literal) {
        if (const std::optional<QString> same = rule.literal->sameLengthReplacement(replacement))
            return rule.literal->replaceInPlace(text, *same, limits);
    }
    RuleReplacement replaced = literal ? rule.literal->replaceAll(text, replacement, limits, &spare)
                                       : replaceRuleMatches(text, rule.pattern, replacement, limits, &spare);
    if (!replaced.ok())
        return replaced.failure;
    if (replaced.text.constData() != text.constData()) {
        spare = std::move(text);
        text = std::move(replaced.text);
    }
    return RuleFailure::None;
}
