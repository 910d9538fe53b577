#include "document/DefineEscaping.h"
#include "support/ReferenceEscaping.h"

#include <QRandomGenerator>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>

namespace {

QString sequentialUnescape(const QString &t) { return reference::unescape(t); }
QString sequentialTagRows(const QString &t) { return reference::restoreTags(t); }
QString sequentialEscape(const QString &t) { return reference::escape(t); }

QString escapeNoRules(const QString &t)
{
    const EscapeOutcome o = EscapeDefineText(t, KeyWordRules{});
    EXPECT_TRUE(o.ok());
    return o.text;
}

struct Example { const char *name, *readable, *stored; };

const Example kExamples[] = {
    {"ConditionTypeAttribute", "<sql type=\"condition\">a<b</sql>", "<sql type=\"condition&quot;&gt;a&lt;b</sql>"},
    {"DefineNameStaysEscaped", "<define name=\"x\">", "<define name=&quot;x&quot;&gt;"},
    {"Ampersand", "a & b", "a &amp; b"},
    {"LessThan", "1<2", "1&lt;2"},
    {"Comment", "<!-- note -->", "<!-- note -->"},
    {"CommentMarkersSharingDashes", "<!-->", "<!-->"},
    // The "&lt;define" row also opens "defineSqls"; its ">" and other tags stay escaped.
    {"DefinePrefixOpensDefineSqls", "<defineSqls><confirm>是</confirm>", "<defineSqls&gt;&lt;confirm&gt;是&lt;/confirm&gt;"},
    {"KnownTagsComeBack", "<define>x</define><sql>y</sql><error>e</error>", "<define>x</define><sql>y</sql><error>e</error>"},
    {"ConditionTrueAttribute", "<condition condition=\"true\">", "<condition condition=\"true&quot;&gt;"},
    {"EmptyText", "", ""},
};

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, EscapeGivesTheStoredForm)
{
    EXPECT_EQ(escapeNoRules(QString::fromUtf8(GetParam().readable)), QString::fromUtf8(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(StoredForms, Examples, ::testing::ValuesIn(kExamples),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Escaping, UnescapeResolvesEntitiesInRowOrder)
{
    EXPECT_EQ(UnescapeDefineText("&amp;lt;"), QStringLiteral("<"));
    EXPECT_EQ(UnescapeDefineText("&amp;amp;"), QStringLiteral("&amp;"));
    EXPECT_EQ(UnescapeDefineText("&amp;quot;&quot;&gt&"), QStringLiteral("\"\"&gt&"));
    EXPECT_EQ(UnescapeDefineText("<define name=&quot;x&quot;&gt;"), QStringLiteral("<define name=\"x\">"));
    // A literal "&lt;" in the readable text comes back as a single "<".
    EXPECT_EQ(UnescapeDefineText(escapeNoRules("&lt;")), QStringLiteral("<"));
}

QString randomText(QRandomGenerator &rng, int length, const QStringList &alphabet)
{
    QString s;
    for (int i = 0; i < length; ++i)
        s += alphabet.at(rng.bounded(alphabet.size()));
    return s;
}

TEST(Escaping, FastPathsMatchTheSequentialDefinition)
{
    // Pieces that form and break entities and tags, so rows complete or spoil each other.
    const QStringList pieces = {"&", "amp;", "lt;", "gt;", "quot;", "<", ">", "\"", "-", "--", "!--", "type=",
                                "condition=", "true", "define", "sql", "select", "exec", "error", "/", "a",
                                "中", " ", "\n", "&lt;", "&gt;", "&quot;", "&amp;", "procedure", "<!--", "-->"};
    QRandomGenerator rng(20261206);
    for (int i = 0; i < 4000; ++i) {
        const QString text = randomText(rng, rng.bounded(1, 40), pieces);
        ASSERT_EQ(UnescapeDefineText(text), sequentialUnescape(text)) << text.toStdString();
        ASSERT_EQ(escapeNoRules(text), sequentialEscape(text)) << text.toStdString();
        // Escaped-looking text straight into the tag pass checks the rows against each other.
        QByteArray raw = text.toUtf8();
        restoreTagsUtf8(raw);
        ASSERT_EQ(QString::fromUtf8(raw), sequentialTagRows(text)) << text.toStdString();
    }
}

TEST(Escaping, AdversarialRowOrderCases)
{
    for (const char *t : {"&lt;!--&gt;", "&amp;lt;", "type=&quot;condition=&quot;", "&lt;condition=&quot;x",
                          "---&gt;", "&lt;define&gt;&gt;", "&lt;/define&gt;--&gt;", "&lt;sql&lt;sql&gt;",
                          "&lt;condition&gt;condition=&quot;", "&lt;!----&gt;", "&lt;&lt;define&gt;"}) {
        QByteArray raw(t);
        restoreTagsUtf8(raw);
        EXPECT_EQ(QString::fromUtf8(raw), sequentialTagRows(QString::fromLatin1(t))) << t;
    }
}

TEST(Escaping, RoundTripOfReadableTextWithoutEntities)
{
    const QStringList pieces = {"<define name=\"a\">", "</define>", "<sql type=\"select\">", "</sql>", "<condition>",
                                "select * from t where a<b and c>d", " & ", "\"", "单据", "<!-- x -->", "\r\n",
                                "<error>", "</error>", "<exec>", "--", "'@billNo'", "<confirm>", "<sucess>"};
    QRandomGenerator rng(7);
    for (int i = 0; i < 2000; ++i) {
        const QString text = randomText(rng, rng.bounded(0, 30), pieces);
        ASSERT_EQ(UnescapeDefineText(escapeNoRules(text)), text) << text.toStdString();
    }
}

// error: a part of the message when the rules are refused
struct RuleCase { const char *name, *rules, *readable, *stored; const char *error = nullptr; };

const RuleCase kRuleFiles[] = {
    // Case-insensitive match; a replacement with groups is not restored as markup; an empty
    // first field restores its text in the second pass only.
    {"TwoFieldRulesInsertMarkupThatSurvivesEscaping",
     "<defineSqls>|<defineSqls>\r\n</defineSqls>|</defineSqls>\n\n"
     "(\\w+)@(\\w+)|$2<at>$1\nsingle field only\n|<confirm>\n",
     "<DEFINESQLS>a<b x@y <confirm></defineSqls>", "<defineSqls>a&lt;b y&lt;at&gt;x <confirm></defineSqls>"},
    {"ThreeFieldRulesUseAMarkerAndTrimOnlyForTheEmptinessTest",
     "<br/>|@@BR@@|<br/>|ignored\nx|  |<never>\nkeep| @K@ | <k> \n", "a<br/>b keep x", "a<br/>b  <k>    "},
    {"GarbageLinesAreAppliedOneByOne", "|\n||||\n\x01\x02\x7f\n   \n|  |x\na|b\n\n", "a<1>", "b&lt;1&gt;"},
    {"InvalidPatternNamesItsLine", "a|b\n\n(unclosed|x\n", "text", nullptr, "第 3 行"},
    // Only spaces make a field blank: a tab or an ideographic space is a marker like any other.
    {"TabsAndIdeographicSpacesAreNotBlank", "x|\t|<tab>\ny|\u3000|<ideo>\n", "axbyc", "a<tab>b<ideo>c"},
    {"UntrimmedFieldsAreReplaced", "k| k |<k> \n", "akb", "a<k> b"},
    {"CatastrophicBacktrackingFailsInsteadOfStoppingHalfway", "a|b\n(x+x+)+y|z\n",
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx!y", nullptr, "第 2 行"},
    {"EmptyMatchesGrowingPastTheBoundFail",
     "x*|0123456789abcdef\nx*|0123456789abcdef\nx*|0123456789abcdef\nx*|0123456789abcdef\n",
     "0123456789012345678901234567890123456789012345678901234567890123456789", nullptr, "第 4 行"},
};

class RuleFile : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleFile, AppliesEachLineInTurn)
{
    const RuleCase &c = GetParam();
    const KeyWordRules rules = KeyWordRules::fromText(QString::fromUtf8(c.rules));
    const EscapeOutcome o = EscapeDefineText(QString::fromUtf8(c.readable), rules);
    if (c.error) {
        EXPECT_FALSE(o.ok());
        EXPECT_TRUE(o.error.contains(QString::fromUtf8(c.error))) << o.error.toStdString();
    } else {
        ASSERT_TRUE(o.ok()) << o.error.toStdString();
        EXPECT_EQ(o.text, QString::fromUtf8(c.stored));
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleFile, ::testing::ValuesIn(kRuleFiles),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RuleFile, PlainReplacementsAndSlowRulesAreBoundedToo)
{
    // The second pass may multiply the text as well: a one-character marker for a long text.
    const QString longText(1000, u'L');
    const KeyWordRules marker = KeyWordRules::fromText(QStringLiteral("a|@|") + longText);
    const EscapeOutcome grown = EscapeDefineText(QString(2000, u'a'), marker);
    EXPECT_FALSE(grown.ok());
    EXPECT_TRUE(grown.error.contains(QStringLiteral("第 1 行"))) << grown.error.toStdString();
    EXPECT_TRUE(EscapeDefineText(QString(20, u'a'), marker).ok()) << "within the bound it applies";

    RuleLimits noTime;
    noTime.time = std::chrono::milliseconds(0);
    const EscapeOutcome slow = EscapeDefineText(QStringLiteral("abc"), KeyWordRules::fromText("b|c\n"), noTime);
    EXPECT_FALSE(slow.ok());
    EXPECT_TRUE(slow.error.contains(QStringLiteral("秒"))) << slow.error.toStdString();
}

// A pattern whose every start place costs millions of engine steps.
const char kHostilePattern[] = "(*NO_START_OPT)a{0,46}a{0,46}a{0,46}a{0,46}a{0,46}c|X";

TEST(RuleFile, AHostileRuleEndsWithinTwiceItsLimit)
{
    RuleLimits limits = RuleLimits::forInput(QString(20000, u'a'));
    limits.time = std::chrono::seconds(2);
    const auto began = std::chrono::steady_clock::now();
    const RuleReplacement r = replaceRuleMatches(QString(20000, u'a'), kHostilePattern, "", limits);
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_EQ(r.failure, RuleFailure::TimeLimit);
    EXPECT_LT(took, 2 * limits.time) << "a limit is a promise to the user waiting on a save";
}

TEST(RuleFile, OneConversionIsBoundedAndCanBeCancelled)
{
    // Each rule alone keeps its own limit; together they pass the conversion's.
    const KeyWordRules rules = KeyWordRules::fromText(QStringLiteral("%1|\n%1|\n%1|\n").arg(kHostilePattern));
    RuleLimits limits = RuleLimits::forInput(QString(20000, u'a'));
    limits.conversionDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    const EscapeOutcome bounded = EscapeDefineText(QString(20000, u'a'), rules, limits);
    EXPECT_FALSE(bounded.ok());
    EXPECT_FALSE(bounded.cancelled);
    EXPECT_TRUE(bounded.error.contains(QStringLiteral("30 秒"))) << bounded.error.toStdString();

    std::atomic<bool> cancel{true};
    const EscapeOutcome stopped =
        EscapeDefineText(QString(20000, u'a'), rules, RuleLimits::forConversion(QString(20000, u'a'), &cancel));
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.text.isEmpty());
}

TEST(RuleFile, AMatchThatNeedsManyStepsIsStillFound)
{
    // The first alternative backtracks far past the first try's allowance before the second
    // matches: the window is tried again a place at a time and finds the same match.
    const QString text = QStringLiteral("xx") + QString(18, u'a') + QStringLiteral("d yy aad");
    EXPECT_EQ(*RegexReplaceAll(text, "(?:a+)+b|a+d", "M"), QStringLiteral("xxM yy M"));
    const QString far = QString(1000, u'q') + QString(18, u'a') + QStringLiteral("d");
    EXPECT_EQ(*RegexReplaceAll(far, "(?:a+)+b|a+d", "M"), QString(1000, u'q') + QStringLiteral("M"));
}

TEST(RuleFile, ReplacementReferences)
{
    EXPECT_EQ(*RegexReplaceAll("abc ABC", "(a)(b)", "[$2$1$$$&$3]"), QStringLiteral("[ba$ab$3]c [BA$AB$3]C"));
    EXPECT_EQ(*RegexReplaceAll("abcdefghijk", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "$11-$10-$1"),
              QStringLiteral("k-j-a"));
    EXPECT_EQ(*RegexReplaceAll("ab", "(a)", "$12"), QStringLiteral("a2b"));
    EXPECT_EQ(*RegexReplaceAll("aaa", "x*", "-"), QStringLiteral("-a-a-a-"));
    EXPECT_EQ(*RegexReplaceAll(QStringLiteral("a😀b"), "x*", "-"), QStringLiteral("-a-😀-b-")) << "a pair is one character";
    EXPECT_EQ(*RegexReplaceAll(QString(600, u'a') + "b", "b", "c"), QString(600, u'a') + "c") << "past the first scan window";
    // "\G" holds only where the last match ended, never where a later search window begins.
    const QString bs = QStringLiteral("a") + QString(300, u'b');
    EXPECT_EQ(*RegexReplaceAll(bs, "\\Gb|X", "Y"), bs);
    EXPECT_EQ(*RegexReplaceAll("ab", "\\Gx*", "-"), QStringLiteral("-a-b-"));
    // Empty matches everywhere in a large text stay linear: well inside the rule's time.
    const auto spaced = RegexReplaceAll(QString(300000, u'q'), "x*|\\b", "");
    ASSERT_TRUE(spaced.has_value());
    EXPECT_EQ(spaced->size(), 300000);
    EXPECT_FALSE(RegexReplaceAll("a", "[", "x").has_value());
}
} // namespace
