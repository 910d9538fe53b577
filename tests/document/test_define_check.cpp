// The define-file checker: the language's tags and comments are markup, everything else is text;
// problems come with their line, their column in characters and the component's byte offset.
#include "document/DefineCheck.h"
#include "document/DefineVocabulary.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QStringList lines(const DefineCheckResult &result)
{
    QStringList out;
    for (const DefineProblem &p : result.problems)
        out << problemLine(p);
    return out;
}

QStringList check(const char *utf8) { return lines(checkDefineText(QByteArray(utf8))); }

struct Row { const char *name, *text; std::vector<const char *> expected; };

const char kCorrect[] = "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n"
                        "<defineSqls>\r\n"
                        "\t<define name=\"saveBill\" caption=\"保存单据\">\r\n"
                        "\t\t<!-- 审核后不能修改 -->\r\n"
                        "\t\t<sql type=\"condition\">select count(*) from t where a < 1</sql>\r\n"
                        "\t\t<error>单据号已存在</error>\r\n"
                        "\t\t<exec condition=\"'@SqlReturn'=='1'\"><select>select 1</select></exec>\r\n"
                        "\t\t<sql type='procedure'>exec p_save @billId</sql>\r\n"
                        "\t\t<sql>update t set a = 1</sql>\r\n"
                        "\t\t<confirm yesDefine=\"a\" noDefine=\"b\">确认?</confirm>\r\n"
                        "\t\t<sucess>保存成功</sucess>\r\n"
                        "\t</define>\r\n"
                        "\t<define name=\"delBill\"><sql type=\"class\"/></define>\r\n"
                        "</defineSqls>\r\n";

const Row kRows[] = {
    {"CorrectFile", kCorrect, {}},
    {"EmptyText", "", {}},
    {"SqlFullOfLessThanAndAmpersands",
     "<sql type=\"condition\">select * from t where a<b and c<>d and e<=f and g & h and x<y\n"
     "and k<selection and m</foo> and &lt; and <defines and <sql2 and <Define and </Sql></sql>",
     {}},
    {"DefineWithoutName", "<define>\n</define>", {"1:1: warning: <define> 没有 name 属性"}},
    {"DefineNameEmpty", "<define name=\"\"></define>", {"1:15: warning: <define> 的 name 为空"}},
    {"DuplicateDefineNames", "<define name=\"a\"></define>\n<define name=\"b\"></define>\n<define name=\"a\"></define>",
     {"3:15: warning: define 的名称“a”与第 1 行的 define 重复"}},
    {"UnknownSqlType", "<sql type=\"exec\">x</sql>",
     {"1:12: warning: sql 的 type“exec”不是已知的类型(condition, class, define, procedure, setValue, setInputType)"}},
    {"SqlTypeIsCaseSensitive", "<sql type=\"Condition\"></sql>",
     {"1:12: warning: sql 的 type“Condition”不是已知的类型(condition, class, define, procedure, setValue, setInputType)"}},
    {"TextTheCodePageCannotHold", "<error>单据 😀😀 ok 한</error>",
     {"1:11: warning: “😀😀”不能用 GBK 编码保存,保存后将变为“?”", "1:17: warning: “한”不能用 GBK 编码保存,保存后将变为“?”"}},
    {"BytesThatAreNotUtf8", "a\xff" "b", {"1:2: warning: “\xEF\xBF\xBD”不能用 GBK 编码保存,保存后将变为“?”"}},
    {"UnclosedSql", "<sql type=\"condition\">\nselect 1\n", {"1:1: error: <sql> 没有结束标记 </sql>"}},
    {"StrayEndDefine", "<sql>x</sql>\n</define>", {"2:1: error: </define> 没有对应的开始标记 <define>"}},
    {"DefineClosedInsideSql", "<define name=\"a\">\n<sql>select 1\n</define>\n</sql>",
     {"3:1: error: </define> 与第 2 行的 <sql> 交叉: <sql> 应在 </define> 之前结束"}},
    {"AttributeWithoutClosingQuote", "<define name=\"a>\n<sql>x</sql>\n</define>",
     {"1:14: error: 属性 name 的值缺少结束的引号"}},
    {"UnclosedComment", "<!-- note\n<sql>x</sql>", {"1:1: error: 注释 <!-- 没有结束标记 -->"}},
    {"CommentHidesTags", "<!-- <sql> </define> -->", {}},
    {"StartTagWithoutGreaterThan", "<define name=\"a\"\n<sql>x</sql>\n</define>",
     {"1:1: error: 开始标记 <define 缺少“>”"}},
    {"EndTagWithoutGreaterThan", "<sql>x</sql\n", {"1:7: error: 结束标记 </sql 缺少“>”"}},
    {"AttributeProblems", "<sql type=condition flag \"x\"></sql>",
     {"1:11: error: 属性 type 的值没有加引号", "1:21: error: 属性 flag 缺少“=”和带引号的值",
      "1:26: error: 开始标记 <sql 中有多余的“\"”", "1:27: error: 属性 x 缺少“=”和带引号的值",
      "1:28: error: 开始标记 <sql 中有多余的“\"”"}},
    {"PositionsAfterChineseAndTabs", "\t中文\t<sql type=\"x\">y</sql>",
     {"1:16: warning: sql 的 type“x”不是已知的类型(condition, class, define, procedure, setValue, setInputType)"}},
    {"LinesEndAsTheComponentEndsThem", "a\r\nb\rc\n</sql>", {"4:1: error: </sql> 没有对应的开始标记 <sql>"}},
    {"SelfClosedElement", "<sql type=\"class\"/>", {}},
    {"QuotesOfEitherKind", "<exec condition='a=\"1\"'></exec>", {}},
};

class Rows : public ::testing::TestWithParam<Row> {};

TEST_P(Rows, FindTheProblems)
{
    QStringList expected;
    for (const char *line : GetParam().expected)
        expected << QString::fromUtf8(line);
    EXPECT_EQ(check(GetParam().text), expected);
}

INSTANTIATE_TEST_SUITE_P(Check, Rows, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DefineCheck, ProblemsCarryTheComponentsByteOffsetAndLength)
{
    const DefineCheckResult r = checkDefineText(QByteArray("单\t<sql type=\"x\">"));
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(r.problems[0].offset, 4);                              // "<" after three bytes and a tab
    EXPECT_EQ(r.problems[0].length, 4);                              // "<sql"
    EXPECT_EQ(r.problems[0].severity, DefineProblem::Severity::Error); // never closed
    EXPECT_EQ(r.problems[1].offset, 15);                             // the value "x"
    EXPECT_EQ(r.problems[1].length, 1);
    EXPECT_EQ(r.errors, 1);
    EXPECT_EQ(r.warnings, 1);
}

TEST(DefineCheck, RuleFileThatCannotCompileIsReportedOnLineOne)
{
    const KeyWordRules rules = KeyWordRules::fromText(QStringLiteral("<confirm>|<confirm>\n(oops|x\n|only\n"));
    DefineCheckOptions options;
    options.rules = &rules;
    EXPECT_EQ(lines(checkDefineText(QByteArray("<sql>\n</sql>"), options)),
              QStringList{QStringLiteral("1:1: error: 规则文件 KeyWord.txt 第 2 行的正则表达式无效,保存时转义会失败: (oops")});
}

// Every item completion offers after "<", inserted as it stands, is sound define text: only the
// define item's empty name is left for the user to fill.
TEST(DefineCheck, CompletionItemsAreSoundAsTheyStand)
{
    for (std::string_view item : define_vocabulary::kTagListItems) {
        const QByteArray text = "<" + QByteArray(item.data(), static_cast<qsizetype>(item.size()));
        const QStringList found = lines(checkDefineText(text));
        if (item.starts_with("define "))
            EXPECT_EQ(found, QStringList{QStringLiteral("1:15: warning: <define> 的 name 为空")});
        else
            EXPECT_EQ(found, QStringList()) << text.toStdString();
    }
}

TEST(DefineCheck, DeepNestingNeedsNoRecursion)
{
    constexpr int kLevels = 100'000;
    const QByteArray closed = QByteArray("<select>").repeated(kLevels) + QByteArray("</select>").repeated(kLevels);
    EXPECT_EQ(checkDefineText(closed).errors, 0);

    const DefineCheckResult open = checkDefineText(QByteArray("<select>\n").repeated(kLevels));
    EXPECT_EQ(open.errors, kLevels);
    ASSERT_EQ(open.problems.size(), 1000u);
    EXPECT_EQ(open.omitted(), kLevels - 1000);
    EXPECT_EQ(open.problems.front().line, 1);
    EXPECT_EQ(open.problems.back().line, 1000);
    EXPECT_EQ(omittedProblemsNote(open), QStringLiteral("还有 99000 个问题未列出"));
}

TEST(DefineCheck, KeepsTheFirstProblemsByPositionHoweverLateTheyAreFound)
{
    // The unclosed element is found last but lies first.
    const QByteArray text = "<sql>" + QByteArray("</define>").repeated(1'000'000);
    const DefineCheckResult r = checkDefineText(text);
    EXPECT_EQ(r.errors, 1'000'001);
    ASSERT_EQ(r.problems.size(), 1000u);
    EXPECT_EQ(r.problems[0].offset, 0);
    EXPECT_EQ(r.problems[1].offset, 5);
    EXPECT_EQ(r.problems[999].offset, 5 + 998 * 9);
    EXPECT_EQ(r.problems[999].column, 6 + 998 * 9);
}

TEST(DefineCheck, ManyUnclosedCommentsStayLinear)
{
    const DefineCheckResult r = checkDefineText(QByteArray("<!--\n").repeated(200'000));
    EXPECT_EQ(r.errors, 200'000);
    EXPECT_EQ(r.problems.size(), 1000u);
}

TEST(DefineCheck, RandomBytesAreCheckedWithoutFault)
{
    QRandomGenerator random(7);
    const char alphabet[] = "<>/!-=\"' \n\r\tabdefilnqstyx\x80\xe4\xb8\xad\xff";
    for (int i = 0; i < 300; ++i) {
        QByteArray text(static_cast<qsizetype>(random.bounded(400)), Qt::Uninitialized);
        for (char &c : text)
            c = alphabet[random.bounded(static_cast<int>(sizeof alphabet - 1))];
        text.replace("ab", "sql").replace("de", "define");
        const DefineCheckResult r = checkDefineText(text);
        ASSERT_LE(r.problems.size(), 1000u);
        for (size_t k = 1; k < r.problems.size(); ++k)
            ASSERT_LE(r.problems[k - 1].offset, r.problems[k].offset);
        for (const DefineProblem &p : r.problems)
            ASSERT_LE(p.offset + p.length, text.size());
    }
}

} // namespace
