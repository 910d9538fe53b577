// Site rules whose pattern is a plain literal run as a plain search: the same matches and the same
// result as the engine, in the same order; a check with such rules reads the text a piece at a time.
#include "document/CompiledRules.h"
#include "document/DefineCheck.h"
#include "document/DefineEscaping.h"
#include "document/LiteralRule.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

struct LiteralCase { const char *name, *pattern; bool literal; };

const LiteralCase kLiteralCases[] = {
    {"Tag", "<confirm", true},
    {"EscapedPunctuation", "a\\.b\\$\\\\", true},
    {"ChineseAndFullWidthPunctuation", "单据,“是”", true},
    {"Dot", "a.b", false},
    {"Class", "[ab]", false},
    {"EscapedLetterIsAClass", "\\d", false},
    {"Alternation", "a(b)", false},
    {"TrailingBackslash", "a\\", false},
    // Letters beyond ASCII match other cases of themselves: the engine's business.
    {"LatinLetterWithCase", "é", false},
    {"LongS", "\u017f", false},
    {"Greek", "σ", false},
};

class LiteralPatterns : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(LiteralPatterns, AreRecognised)
{
    EXPECT_EQ(LiteralRule::of(QString::fromUtf8(GetParam().pattern)).has_value(), GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(SiteRules, LiteralPatterns, ::testing::ValuesIn(kLiteralCases),
                         [](const auto &info) { return std::string(info.param.name); });

QString pick(QRandomGenerator &rng, const QStringList &from, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += from.at(rng.bounded(from.size()));
    return s;
}

// The literal search against the engine on random texts, patterns and replacements, with the
// characters that the engine's caseless matching treats specially.
TEST(SiteRules, LiteralSearchFindsWhatTheEngineFinds)
{
    const QStringList textPieces = {"a", "A", "k", "K", "s", "S", "i", "I", "<", ">", "$", ".", "\\", "单", "据",
                                    "\n", "\r", " ", "\u212a", "\u017f", "\u0130", "\u0131", "é", "É", "😀",
                                    QString(QChar(0xD800)), "ab", "<sql", "<SQL"};
    const QStringList patternPieces = {"a", "A", "k", "s", "S", "i", "<", "\\.", "\\$", "\\\\", "单", " ", "b",
                                       "\r", "<sql", "q"};
    const QStringList replacementPieces = {"x", "$&", "$$", "$1", "$0", "$", "<", "单", ""};
    QRandomGenerator rng(26);
    int literalRuns = 0;
    for (int i = 0; i < 4000; ++i) {
        const QString text = pick(rng, textPieces, rng.bounded(0, 40));
        const QString pattern = pick(rng, patternPieces, rng.bounded(1, 4));
        const QString replacement = pick(rng, replacementPieces, rng.bounded(0, 3));
        const RuleLimits limits = RuleLimits::forInput(text);
        const RuleReplacement engine = replaceRuleMatches(text, pattern, replacement, limits);
        ASSERT_TRUE(engine.ok()) << pattern.toStdString();
        const std::optional<LiteralRule> literal = LiteralRule::of(pattern);
        ASSERT_TRUE(literal.has_value()) << pattern.toStdString();
        if (literal->searchableIn(text)) {
            ++literalRuns;
            const RuleReplacement plain = literal->replaceAll(text, replacement, limits);
            ASSERT_TRUE(plain.ok());
            ASSERT_EQ(plain.text, engine.text) << "text " << text.toStdString() << " pattern " << pattern.toStdString()
                                               << " replacement " << replacement.toStdString();
        }
        // The rule as a conversion runs it: in place where the replacement has the literal's length.
        const KeyWordRules rules = KeyWordRules::fromText(pattern + u'|' + replacement);
        QString converted = text;
        QString spare;
        ASSERT_EQ(rules.compiled->apply(0, converted, replacement, limits, spare), RuleFailure::None);
        ASSERT_EQ(converted, engine.text) << "text " << text.toStdString() << " pattern " << pattern.toStdString()
                                          << " replacement " << replacement.toStdString();
    }
    EXPECT_GT(literalRuns, 2000) << "the search itself must be what is compared";
}

// A literal rule keeps the engine's limits: growth and a long search.
TEST(SiteRules, LiteralRulesKeepTheLimits)
{
    const std::optional<LiteralRule> a = LiteralRule::of(QStringLiteral("a"));
    ASSERT_TRUE(a.has_value());
    RuleLimits small;
    small.maxLength = 100;
    EXPECT_EQ(a->replaceAll(QString(50, u'a'), QStringLiteral("bbb"), small).failure, RuleFailure::TooLong);
    EXPECT_TRUE(a->replaceAll(QString(50, u'a'), QStringLiteral("b"), small).ok());
    std::atomic<bool> cancel{true};
    RuleLimits cancelled;
    cancelled.cancel = &cancel;
    EXPECT_EQ(a->replaceAll(QString(3 << 20, u'x'), QStringLiteral("b"), cancelled).failure, RuleFailure::Cancelled);
}

QStringList problemLines(const QByteArray &text, const KeyWordRules &rules)
{
    DefineCheckOptions options;
    options.rules = &rules;
    QStringList out;
    for (const DefineProblem &p : checkDefineText(text, options).problems)
        out << problemLine(p);
    return out;
}

// With literal rules the check escapes a piece of whole lines at a time: what a rule does far into
// a large text is found at its place, as in a small one.
TEST(SiteRules, ACheckInPiecesFindsWhatARuleDoesFarIntoTheText)
{
    const KeyWordRules rules = KeyWordRules::fromText(QStringLiteral(
        "<defineSqls>|<defineSqls>\n</defineSqls>|</defineSqls>\n确认|确定\n<confirm|<confirm\n"));
    ASSERT_TRUE(rules.compiled->allLiteral());
    const QByteArray head = "<defineSqls>\n<define name=\"a\">\n";
    const QByteArray line = "<sql>select a from t where b<c and d = '单据'</sql>\n";
    QByteArray filler;
    while (filler.size() < (3 << 20))
        filler += line;
    const QByteArray tail = "<sql>select 1</sql>\n<error>确认?</error>\n</define>\n</defineSqls>\n";
    const QByteArray small = head + tail;
    const QByteArray large = head + filler + tail;
    const QStringList found = problemLines(small, rules);
    ASSERT_EQ(found.size(), 1) << found.join(u'\n').toStdString();
    const qsizetype fillerLines = filler.count('\n');
    const QStringList far = problemLines(large, rules);
    ASSERT_EQ(far.size(), 1) << far.join(u'\n').toStdString();
    // The same problem, fillerLines lines further down.
    EXPECT_EQ(far[0].section(u':', 1), found[0].section(u':', 1));
    EXPECT_EQ(far[0].section(u':', 0, 0).toLongLong(), found[0].section(u':', 0, 0).toLongLong() + fillerLines);
}

} // namespace
