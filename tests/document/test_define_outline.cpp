// The defines the check's pass reads: names, captions, statement tags, lines and extents, for
// texts sound and broken, and finding the define at an offset or by its name.

#include "document/DefineCheck.h"

#include <gtest/gtest.h>

namespace {

DefineOutline outlineOf(const QByteArray &utf8)
{
    DefineCheckOptions options;
    options.outline = true;
    return checkDefineText(utf8, options).outline;
}

// "name|caption|statements|line", one per define.
QStringList described(const DefineOutline &outline)
{
    QStringList out;
    for (const DefineOutlineEntry &e : outline)
        out << QStringLiteral("%1|%2|%3|%4")
                   .arg(outline.name(e).toString(), outline.caption(e).toString(), e.statementList())
                   .arg(e.line);
    return out;
}

struct Row {
    const char *name;
    const char *text;
    std::vector<const char *> expected;
};

class DefineOutlineRows : public ::testing::TestWithParam<Row> {};

TEST_P(DefineOutlineRows, ListsEveryDefineInOrder)
{
    QStringList expected;
    for (const char *e : GetParam().expected)
        expected << QString::fromUtf8(e);
    EXPECT_EQ(described(outlineOf(QByteArray(GetParam().text))), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DefineOutlineRows,
    ::testing::Values(
        Row{"SoundWithCaptionsAndStatements",
            "<defineSqls>\r\n<define name=\"查询单据\" caption=\"单据查询\">\r\n<condition>a</condition>\r\n"
            "<sql type=\"define\">select 1 where a<b</sql>\r\n<exec>x</exec>\r\n</define>\r\n"
            "<define name=\"b\"><confirm>ok?</confirm></define>\r\n</defineSqls>",
            {"查询单据|单据查询|sql, condition, exec|2", "b||confirm|7"}},
        Row{"LinesEndInLfCrLfAndLoneCr", "<defineSqls>\r<define name=\"a\"/>\n\r\n<define name=\"b\"></define></defineSqls>",
            {"a|||2", "b|||4"}},
        Row{"NestedDefineIsItsOwnEntryAndTakesItsStatements",
            "<defineSqls>\n<define name=\"outer\">\n<define name=\"inner\"><select>s</select></define>\n"
            "<error>e</error></define></defineSqls>",
            {"outer||error|2", "inner||select|3"}},
        Row{"BrokenDefinesAreStillListed",
            "<defineSqls>\n<define>\n<sql>x</sql></define>\n<define name=\"open\n<define name='q'><sucess/>",
            {"||sql|2", "|||4", "q||sucess|5"}},
        Row{"CommentsAndTextAreNotDefines",
            "<defineSqls><!-- <define name=\"no\"> -->\n<sql>define name=\"no\"</sql></defineSqls>", {}},
        Row{"Empty", "", {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DefineOutline, ExtentsFindTheDefineHoldingAnOffsetAndNamesTheFirstOfTwins)
{
    const QByteArray text = "<defineSqls>\n<define name=\"a\">\n<define name=\"in\">x</define>\ny</define>\n"
                            "<define name=\"a\">second</define>\n<define name=\"open\">never closed";
    const DefineOutline outline = outlineOf(text);
    ASSERT_EQ(outline.size(), 4U);
    EXPECT_EQ(outline[0].offset, text.indexOf("<define name=\"a\">"));
    EXPECT_EQ(defineAt(outline, text.indexOf("x</define>")), 1) << "the innermost";
    EXPECT_EQ(defineAt(outline, text.indexOf("y</define>")), 0) << "after the inner one ended";
    EXPECT_EQ(defineAt(outline, text.indexOf("second")), 2);
    EXPECT_EQ(defineAt(outline, text.indexOf("<defineSqls>")), -1);
    EXPECT_EQ(defineAt(outline, text.size() - 1), 3) << "an unclosed define runs to the end";
    EXPECT_EQ(outline[3].end, text.size());
    EXPECT_EQ(defineNamed(outline, QStringLiteral("a")), 0) << "as the check counts the second a duplicate";
    EXPECT_EQ(defineNamed(outline, QStringLiteral("none")), -1);
}

TEST(DefineOutline, FiftyThousandDefinesAreAllListedWithTheirLines)
{
    QByteArray text = "<defineSqls>\r\n";
    for (int i = 0; i < 50'000; ++i)
        text += "<define name=\"d" + QByteArray::number(i) + "\">\r\n<sql type=\"define\">select " +
                QByteArray::number(i) + "</sql>\r\n</define>\r\n";
    text += "</defineSqls>\r\n";
    const DefineOutline outline = outlineOf(text);
    ASSERT_EQ(outline.size(), 50'000U);
    EXPECT_EQ(outline.name(outline.back()), QStringLiteral("d49999"));
    EXPECT_EQ(outline.back().line, 2 + 49'999 * 3);
    EXPECT_EQ(outline.back().statementList(), QStringLiteral("sql"));
}

TEST(DefineOutline, OnlyWhenAskedAndNotFromACancelledPass)
{
    const QByteArray text = "<defineSqls><define name=\"a\"></define></defineSqls>";
    EXPECT_TRUE(checkDefineText(text).outline.empty());
    const std::atomic_bool cancelled{true};
    DefineCheckOptions options;
    options.outline = true;
    options.cancel = &cancelled;
    const DefineCheckResult result = checkDefineText(text, options);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.outline.empty());
}
} // namespace
