#include "completion/TriggerText.h"
#include "completion/Vocabularies.h"
#include "editor/CompletionList.h"

#include <gtest/gtest.h>

namespace {

const QString kTables = QStringLiteral("tblBill:单据|tblBillDetail:明细|tblUser:用户");

TEST(Vocabularies, FixedListsCharacterForCharacter)
{
    const QStringList tags = TagList().split(u'|');
    ASSERT_EQ(tags.size(), 16);
    EXPECT_EQ(tags.at(0), QStringLiteral("condition></condition>"));
    EXPECT_EQ(tags.at(1), QStringLiteral("define name=\"\"></define>"));
    EXPECT_EQ(tags.at(7), QStringLiteral("sql type=\"condition\"></sql>"));
    EXPECT_EQ(tags.at(13), QStringLiteral("!-- -->"));
    EXPECT_EQ(tags.at(14), QStringLiteral("confirm yesDefine=\" noDefine=\"></confirm>"));
    EXPECT_EQ(tags.at(15), QStringLiteral("sucess></sucess>"));
    EXPECT_EQ(AtVariableList(), QStringLiteral("MEM|ParamNum|Sess|SPFieldLink|SqlReturn|ValueofDB|ProcReturn|CODE"));
    EXPECT_EQ(SessVariableList(), QStringLiteral("UserId|BillOper'=='add'|BillOper'=='update'|BillOper'=='delete'"));
    EXPECT_EQ(MemVariableList(), QStringLiteral("sysLongDate|sysShortDate"));
    EXPECT_EQ(CodeVariableList(), QStringLiteral("[tableName_BillNO]"));
}

struct FilterRow { const char *name; const char *list; const char *search; FilterMode mode; const char *expected; };
const FilterRow kFilters[] = {
    {"BillStartsNothing", nullptr, "bill", FilterMode::StartsWith, ""},
    {"BillContainsTwo", nullptr, "bill", FilterMode::Contains, "tblBill:单据|tblBillDetail:明细"},
    {"UpperCaseStartsWith", nullptr, "TBLU", FilterMode::StartsWith, "tblUser:用户"},
    {"EmptyStartsWithIsAll", nullptr, "", FilterMode::StartsWith, nullptr},
    {"EmptyContainsIsAll", nullptr, "", FilterMode::Contains, nullptr},
    {"ChineseCaption", nullptr, "单据", FilterMode::Contains, "tblBill:单据"},
    {"LastItemIsTested", nullptr, "用户", FilterMode::Contains, "tblUser:用户"},
    {"QuestionMarkIsAnyOne", nullptr, "tbl?ser", FilterMode::StartsWith, "tblUser:用户"},
    {"QuestionMarkMatchesAChineseCharacter", nullptr, ":?据", FilterMode::Contains, "tblBill:单据"},
    {"HashIsADigit", "a1|ab|a22", "a#", FilterMode::StartsWith, "a1|a22"},
    {"SetOfLetters", "cat|bat|rat", "[bc]at", FilterMode::StartsWith, "cat|bat"},
    {"RangeInLowerCaseIsUpperCased", "cat|bat|rat", "[a-c]", FilterMode::StartsWith, "cat|bat"},
    {"NegatedSet", "cat|bat|rat", "[!bc]", FilterMode::StartsWith, "rat"},
    {"StarInsideSearch", nullptr, "tbl*il", FilterMode::StartsWith, "tblBill:单据|tblBillDetail:明细"},
    {"UnclosedBracketGivesNothing", nullptr, "tbl[b", FilterMode::Contains, ""},
    {"BackwardRangeGivesNothing", nullptr, "[z-a]", FilterMode::Contains, ""},
    {"BracketedStarIsLiteral", "a*b|ab", "a[*]", FilterMode::StartsWith, "a*b"},
    {"EmptyItemsKeepTheirPlace", "|x||y", "", FilterMode::Contains, "|x||y"},
    {"EmptyList", "", "x", FilterMode::Contains, ""},
    {"EmojiIsOneCharacter", "a😀b|ab", "a?b", FilterMode::StartsWith, "a😀b"},
};

class FilterListRows : public ::testing::TestWithParam<FilterRow> {};
TEST_P(FilterListRows, MatchesAsWildcards)
{
    const FilterRow &row = GetParam();
    const QString list = row.list ? QString::fromUtf8(row.list) : kTables;
    const QString expected = row.expected ? QString::fromUtf8(row.expected) : list;
    EXPECT_EQ(FilterList(list, QString::fromUtf8(row.search), row.mode), expected);
}
INSTANTIATE_TEST_SUITE_P(Rows, FilterListRows, ::testing::ValuesIn(kFilters),
                         [](const auto &info) { return std::string(info.param.name); });

struct SortRow { const char *name; const char *input; const char *expected; };
const SortRow kSorts[] = {
    {"EqualWithoutCaseKeepOrder", "b|A|c|a", "A|a|b|c"},
    {"SingleItem", "Only", "Only"},
    {"Empty", "", ""},
    {"Tags", "then|if|else", "else|if|then"},
    {"ComparedUpperCased", "_x|a|Z", "a|Z|_x"},
    {"EmptyItems", "b||a", "|a|b"},
    // From five items on the gap of 4 runs first: items equal but for case may change places.
    {"GapOfFourSwapsEquals", "c|B|b|a|b", "a|b|B|b|c"},
    {"GapOfFourSwapsEqualsAgain", "z|a|A|b|B|y|x", "a|A|B|b|x|y|z"},
    {"TableNamesInTwoCases", "tblUser:用户|tblBill:单据|TBLBILL:x", "TBLBILL:x|tblBill:单据|tblUser:用户"},
};

class SortStringRows : public ::testing::TestWithParam<SortRow> {};
TEST_P(SortStringRows, ShellSortWithKnuthGaps)
{
    EXPECT_EQ(SortString(QString::fromUtf8(GetParam().input)), QString::fromUtf8(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(Rows, SortStringRows, ::testing::ValuesIn(kSorts),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Vocabularies, NameBeforeColon)
{
    EXPECT_EQ(NameBeforeColon(u"tblBill:"), QStringLiteral("tblBill"));
    EXPECT_EQ(NameBeforeColon(u"code:编码:x"), QStringLiteral("code"));
    EXPECT_EQ(NameBeforeColon(u"plain"), QStringLiteral("plain"));
}

struct AfterLastRow { const char *name; const char *text; const char *separator; const char *expected; };
const AfterLastRow kAfterLast[] = {
    {"LastOccurrence", "a.b.c", ".", "c"},
    {"NotFoundIsWhole", "abc", ".", "abc"},
    {"IgnoresCase", "select * From tbl", "FROM", " tbl"},
    {"AtTheEnd", "abc.", ".", ""},
    {"LongSeparator", "x@ValueofDB:单据?t", "@valueofdb:", "单据?t"},
    {"ChineseBytesUntouched", "单据.明细", ".", "明细"},
};
class AfterLastText : public ::testing::TestWithParam<AfterLastRow> {};
TEST_P(AfterLastText, Rows)
{
    const AfterLastRow &r = GetParam();
    EXPECT_EQ(AfterLast(r.text, r.separator), QByteArray(r.expected));
}
INSTANTIATE_TEST_SUITE_P(Rows, AfterLastText, ::testing::ValuesIn(kAfterLast),
                         [](const auto &info) { return std::string(info.param.name); });

struct TokenRow { const char *name; const char *text; const char *marker; const char *expected; };
const TokenRow kTokens[] = {
    {"AfterLastSpace", "select 单据?tb", "?", "单据?tb"},
    {"WithoutMarkerIsEmpty", "select tbl", "?", ""},
    {"TrailingSpaceLeavesNothing", "select a?b ", "?", ""},
    {"NoSpaceDropsTabs", "\ta?\tb", "?", "a?b"},
    {"CrLfRemoved", "x a?\r\nb", "?", "a?b"},
    {"DotMarker", "from tbl.co", ".", "tbl.co"},
};
class TokenWith : public ::testing::TestWithParam<TokenRow> {};
TEST_P(TokenWith, Rows)
{
    const TokenRow &r = GetParam();
    EXPECT_EQ(LastTokenWith(r.text, r.marker), QByteArray(r.expected));
}
INSTANTIATE_TEST_SUITE_P(Rows, TokenWith, ::testing::ValuesIn(kTokens),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
