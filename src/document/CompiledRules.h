#pragma once
// The patterns of a rule file made ready once, when the file is read, instead of at every save
// and every check: a plain search where a pattern is a literal, the engine's compiled pattern
// otherwise (and where the text holds what only the engine matches).

#include "document/LiteralRule.h"
#include "document/RuleRegex.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

struct KeyWordRule;

class CompiledRules {
public:
    static std::shared_ptr<const CompiledRules> of(const std::vector<KeyWordRule> &rules);

    size_t size() const { return m_rules.size(); }
    // The pattern of rule i (in the file's order) cannot compile.
    bool invalid(size_t i) const { return m_rules.at(i).used && !m_rules.at(i).pattern.valid(); }
    // Every pattern is a literal: as none holds a line end, no match spans one, and a text can be
    // converted a piece of whole lines at a time.
    bool allLiteral() const { return m_allLiteral; }
    // Rule i over the text: every match of its pattern replaced, in place where a literal's
    // replacement has its length. spare is memory the result may take (the text before the last
    // rule), and takes the text's old memory in turn.
    RuleFailure apply(size_t i, QString &text, const QString &replacement, const RuleLimits &limits,
                      QString &spare) const;

private:
    struct Rule {
        bool used = false; // a line without a replacement or with an empty pattern is skipped
        RulePattern pattern;
        std::optional<LiteralRule> literal;
    };
    std::vector<Rule> m_rules;
    bool m_allLiteral = true;
};
