#include "document/DefineEscaping.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The plain sequential definition: every row over the whole text, one after another.
QString sequentialUnescape(QString t)
{
    return t.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
}

QString sequentialTagRows(QString t)
{
    static const char *const rows[][2] = {
        {"type=&quot;condition", "type=\"condition"}, {"type=&quot;define", "type=\"define"},
        {"type=&quot;procedure", "type=\"procedure"}, {"condition=&quot;true", "condition=\"true"},
        {"type=&quot;", "type=\""}, {"condition=&quot;", "condition=\""}, {"&lt;define&gt;", "<define>"},
        {"&lt;define", "<define"}, {"&lt;/define&gt;", "</define>"}, {"&lt;sql&gt;", "<sql>"}, {"&lt;sql", "<sql"},
        {"&lt;/sql&gt;", "</sql>"}, {"&lt;condition&gt;", "<condition>"}, {"&lt;condition", "<condition"},
        {"&lt;/condition&gt;", "</condition>"}, {"&lt;select&gt;", "<select>"}, {"&lt;select", "<select"},
        {"&lt;/select&gt;", "</select>"}, {"&lt;exec&gt;", "<exec>"}, {"&lt;exec", "<exec"},
        {"&lt;/exec&gt;", "</exec>"}, {"&lt;error&gt;", "<error>"}, {"&lt;error", "<error"},
        {"&lt;/error&gt;", "</error>"}, {"&lt;!--", "<!--"}, {"--&gt;", "-->"},
    };
    for (const auto &row : rows)
        t.replace(QString::fromLatin1(row[0]), QString::fromLatin1(row[1]));
    return t;
}

QString sequentialEscape(QString t)
{
    t.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace("\"", "&quot;");
    return sequentialTagRows(t);
}

QString escapeNoRules(const QString &t)
{
    const EscapeOutcome o = EscapeDefineText(t, KeyWordRules{});
    EXPECT_TRUE(o.ok());
    return o.text;
}

struct Example {
    const char *readable;
    const char *stored;
};

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, EscapeGivesTheStoredForm)
{
    EXPECT_EQ(escapeNoRules(QString::fromUtf8(GetParam().readable)), QString::fromUtf8(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(
    StoredForms, Examples,
    ::testing::Values(Example{"<sql type=\"condition\">a<b</sql>", "<sql type=\"condition&quot;&gt;a&lt;b</sql>"},
                      Example{"<define name=\"x\">", "<define name=&quot;x&quot;&gt;"},
                      Example{"a & b", "a &amp; b"}, Example{"1<2", "1&lt;2"},
                      Example{"<!-- note -->", "<!-- note -->"}, Example{"<!-->", "<!-->"},
                      // The "&lt;define" row also opens "defineSqls"; its ">" and other tags stay escaped.
                      Example{"<defineSqls><confirm>是</confirm>",
                              "<defineSqls&gt;&lt;confirm&gt;是&lt;/confirm&gt;"},
                      Example{"<define>x</define><sql>y</sql><error>e</error>",
                              "<define>x</define><sql>y</sql><error>e</error>"},
                      Example{"<condition condition=\"true\">", "<condition condition=\"true&quot;&gt;"},
                      Example{"", ""}));

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
    EXPECT_EQ(escapeNoRules("<!-->"), QStringLiteral("<!-->"));
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

TEST(RuleFile, TwoFieldRulesInsertMarkupThatSurvivesEscaping)
{
    const KeyWordRules rules =
        KeyWordRules::fromText("<defineSqls>|<defineSqls>\r\n</defineSqls>|</defineSqls>\n\n"
                               "(\\w+)@(\\w+)|$2<at>$1\nsingle field only\n|<confirm>\n");
    const EscapeOutcome o = EscapeDefineText("<DEFINESQLS>a<b x@y <confirm></defineSqls>", rules);
    ASSERT_TRUE(o.ok()) << o.error.toStdString();
    // Case-insensitive match; a replacement with groups is not restored as markup; an empty
    // first field restores its text in the second pass only.
    EXPECT_EQ(o.text, QStringLiteral("<defineSqls>a&lt;b y&lt;at&gt;x <confirm></defineSqls>"));
}

TEST(RuleFile, ThreeFieldRulesUseAMarkerAndTrimOnlyForTheEmptinessTest)
{
    const KeyWordRules rules = KeyWordRules::fromText(
        "<br/>|@@BR@@|<br/>|ignored\n"
        "x|  |<never>\n"
        "keep| @K@ | <k> \n");
    const EscapeOutcome o = EscapeDefineText("a<br/>b keep x", rules);
    ASSERT_TRUE(o.ok());
    EXPECT_EQ(o.text, QStringLiteral("a<br/>b  <k>    "));
}

TEST(RuleFile, GarbageLinesAreAppliedOneByOne)
{
    const KeyWordRules rules = KeyWordRules::fromText(QString::fromLatin1("|\n||||\n\x01\x02\x7f\n   \n|  |x\na|b\n\n"));
    const EscapeOutcome o = EscapeDefineText("a<1>", rules);
    ASSERT_TRUE(o.ok()) << o.error.toStdString();
    EXPECT_EQ(o.text, QStringLiteral("b&lt;1&gt;")) << "only the one sound rule changes anything";
}

TEST(RuleFile, InvalidPatternFailsAndNamesTheLine)
{
    const KeyWordRules rules = KeyWordRules::fromText("a|b\n\n(unclosed|x\n");
    const EscapeOutcome o = EscapeDefineText("text", rules);
    EXPECT_FALSE(o.ok());
    EXPECT_TRUE(o.error.contains(QStringLiteral("第 3 行"))) << o.error.toStdString();
}

TEST(RuleFile, ReplacementReferences)
{
    EXPECT_EQ(*RegexReplaceAll("abc ABC", "(a)(b)", "[$2$1$$$&$3]"), QStringLiteral("[ba$ab$3]c [BA$AB$3]C"));
    EXPECT_EQ(*RegexReplaceAll("abcdefghijk", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "$11-$10-$1"),
              QStringLiteral("k-j-a"));
    EXPECT_EQ(*RegexReplaceAll("ab", "(a)", "$12"), QStringLiteral("a2b"));
    EXPECT_EQ(*RegexReplaceAll("aaa", "x*", "-"), QStringLiteral("-a-a-a-"));
    EXPECT_FALSE(RegexReplaceAll("a", "[", "x").has_value());
}
} // namespace
