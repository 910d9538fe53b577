// The define-file checker: the language's tags and comments are markup, everything else is text;
// problems come with their line, their column in characters and the component's byte offset.
#include "document/DefineCheck.h"
#include "document/DefineVocabulary.h"

#include <gtest/gtest.h>

namespace {

QStringList lines(const DefineCheckResult &result)
{
    QStringList out;
    for (const DefineProblem &p : result.problems)
        out << problemLine(p);
    return out;
}

struct Row { const char *name, *text; std::vector<const char *> expected; };

// The sound shape every row starts from: a root, one define, and the example rule file's
// restoring of the root's tags.
#define DOC(body) "<defineSqls>\n<define name=\"a\">\n" body "\n</define>\n</defineSqls>"
const char kExampleRules[] = "<defineSqls>|<defineSqls>\n</defineSqls>|</defineSqls>\n";

const KeyWordRules &exampleRules()
{
    static const KeyWordRules rules = KeyWordRules::fromText(QString::fromUtf8(kExampleRules));
    return rules;
}

QStringList check(const char *utf8, const KeyWordRules &rules = exampleRules())
{
    DefineCheckOptions options;
    options.rules = &rules;
    return lines(checkDefineText(QByteArray(utf8), options));
}

const char kCorrect[] = "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n"
                        "<defineSqls>\r\n"
                        "\t<define name=\"saveBill\" caption=\"保存单据\">\r\n"
                        "\t\t<!-- 审核后不能修改 <sqlx -->\r\n"
                        "\t\t<sql type=\"condition\">select count(*) from t where a < 1 and b<>c and d <= e</sql>\r\n"
                        "\t\t<error>单据号已存在</error>\r\n"
                        "\t\t<exec condition=\"'@SqlReturn'=='1'\r\n\t\t\tand '@a'>'1'\"><select>select 1</select></exec>\r\n"
                        "\t\t<sql type=\"procedure\">exec p_save @billId</sql>\r\n"
                        "\t\t<sql>update t set a = 1 where memo = 'A & B' and x<y</sql>\r\n"
                        "\t</define>\r\n"
                        "\t<define name=\"delBill\"><sql type=\"class\"></sql></define>\r\n"
                        "</defineSqls>\r\n";

// Each broken text the save would store as something the platform reads otherwise, at its place.
const Row kRows[] = {
    {"CorrectFile", kCorrect, {}},
    {"EmptyText", "", {}},
    {"LessThanBeforeTagWordsInSql",
     DOC("<sql>select 1 where n<error_count and a<selectivity and c<sqlcode</sql>\n"
         "<sql>x<define_no and y<execute and z<defineSqls</sql>"),
     {"3:22: error: “<error_count”保存时不会被转义,平台会把它读作标记 <error_count>;若是比较运算,请在“<”后加一个空格",
      "3:40: error: “<selectivity”保存时不会被转义,平台会把它读作标记 <selectivity>;若是比较运算,请在“<”后加一个空格",
      "3:58: error: “<sqlcode”保存时不会被转义,平台会把它读作标记 <sqlcode>;若是比较运算,请在“<”后加一个空格",
      "4:7: error: “<define_no”保存时不会被转义,平台会把它读作标记 <define_no>;若是比较运算,请在“<”后加一个空格",
      "4:23: error: “<execute”保存时不会被转义,平台会把它读作标记 <execute>;若是比较运算,请在“<”后加一个空格",
      "4:37: error: <defineSqls> 只能作为最外层的根标记", "4:37: error: 开始标记 <defineSqls 缺少“>”",
      "4:48: error: </sql> 与第 4 行的 <defineSqls> 交叉: <defineSqls> 应在 </sql> 之前结束"}},
    {"MisspelledTags", DOC("<sqll type=\"condition\">x</sqll>\n<SQL>y</SQL>\n<sql>z</sq>\n<selct>w</select>"),
     {"3:1: error: 未知标记 <sqll>,是否应为 <sql>?", "3:25: error: 未知标记 </sqll>,是否应为 </sql>?",
      "4:1: error: 未知标记 <SQL>,是否应为 <sql>?", "4:7: error: 未知标记 </SQL>,是否应为 </sql>?",
      "5:7: error: 未知标记 </sq>,是否应为 </sql>?", "6:1: error: 未知标记 <selct>,是否应为 <select>?"}},
    {"MisspelledDefine", "<defineSqls>\n<defin name=\"a\"></define>\n</defineSqls>",
     {"2:1: error: 未知标记 <defin>,是否应为 <define>?"}},
    {"MisspelledAttributes",
     DOC("<sql typ=\"condition\"></sql>\n<sql Type=\"class\"></sql>\n<exec conditon=\"1\"></exec>\n<sql flag=\"1\"></sql>"),
     {"3:6: error: <sql> 没有属性 typ,是否应为 type?", "4:6: error: <sql> 没有属性 Type,是否应为 type?",
      "5:7: error: <exec> 没有属性 conditon,是否应为 condition?",
      "6:6: error: <sql> 没有属性 flag(它的属性: type, condition)"}},
    {"AttributeWritingRules",
     DOC("<sql type = \"condition\"></sql>\n<sql type='class'></sql>\n<sql type=define></sql>"),
     {"3:10: error: 属性 type 的“=”两侧不能有空白", "4:11: error: 属性 type 的值须用双引号括起",
      "5:11: error: 属性 type 的值没有加引号"}},
    {"DuplicateAttributeAndNames",
     "<defineSqls>\n<define name=\"a\" name=\"b\"></define>\n<define name=\"a\"></define>\n<define name=\" \"></define>\n"
     "<define></define>\n</defineSqls>",
     {"2:18: error: <define> 的属性 name 重复", "3:15: error: define 的名称“a”与第 2 行的 define 重复",
      "4:15: error: <define> 的 name 为空", "5:1: error: <define> 没有 name 属性"}},
    {"SelfClosingTags", "<defineSqls>\n<define name=\"b\"/>\n<define name=\"a\"><sql type=\"class\"/></define>\n</defineSqls>",
     {"2:1: error: <define/> 不能自闭合,请写成 <define…></define>", "3:18: error: <sql/> 不能自闭合,请写成 <sql…></sql>"}},
    {"Nesting",
     "<defineSqls>\n<sql>x</sql>\n<error>e</error>\n<define name=\"a\"><define name=\"b\"></define></define>\n</defineSqls>",
     {"2:1: error: <sql> 只能写在 <define> 中", "3:1: error: <error> 只能写在 <define> 中",
      "4:18: error: <define> 只能直接写在 <defineSqls> 中"}},
    {"OutsideTheRoot", "<define name=\"a\"></define>\n<defineSqls>\n</defineSqls>\ntext\n<defineSqls></defineSqls>",
     {"1:1: error: <define> 只能直接写在 <defineSqls> 中", "4:1: error: 根标记 <defineSqls> 之外不能有文本",
      "5:1: error: 只能有一个根标记 <defineSqls>,这是第二个"}},
    {"StrayEndAfterACrossingIsReported",
     DOC("<sql><select></sql></select>\n<error></error></select>"),
     {"3:14: error: </sql> 与第 3 行的 <select> 交叉: <select> 应在 </sql> 之前结束",
      "4:16: error: </select> 没有对应的开始标记 <select>"}},
    {"ConditionOverTwoLines", DOC("<exec condition=\"'@a'=='1'\n and '@b'=='2'\">x</exec>"), {}},
    {"QuoteLeftOpenEndsAtTheNextTag", DOC("<exec condition=\"1>x\n</exec>"),
     {"3:17: error: 属性 condition 的值缺少结束的引号"}},
    {"EntitiesTypedAsLetters", DOC("<sql>a &lt; b and c &gt; d and &quot;e&quot; and f &amp; g</sql>"),
     {"3:8: error: “&lt;”保存后再打开将变为“<”", "3:21: error: “&gt;”保存后再打开将变为“>”",
      "3:32: error: “&quot;”保存后再打开将变为“\"”", "3:39: error: “&quot;”保存后再打开将变为“\"”"}},
    {"TagsStoredAsText",
     DOC("<confirm yesDefine=\"a\" noDefine=\"b\">确认?</confirm>\n<sucess>好</sucess>\n<sql>x</sql >"),
     {"3:1: warning: <confirm> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)",
      "3:40: warning: </confirm> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)",
      "4:1: warning: <sucess> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)",
      "4:10: warning: </sucess> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)",
      "5:7: warning: </sql> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)"}},
    {"UnknownSqlType", DOC("<sql type=\"exec\">x</sql>"),
     {"3:12: warning: sql 的 type“exec”不是已知的类型(condition, class, define, procedure, setValue, setInputType)"}},
    {"TextTheCodePageCannotHold", DOC("<error>单据 😀😀 ok 한</error>"),
     {"3:11: warning: “😀😀”不能用 GBK 编码保存,保存后将变为“?”", "3:17: warning: “한”不能用 GBK 编码保存,保存后将变为“?”"}},
    {"EndDefineWithSqlOpen", DOC("<sql type=\"condition\">\nselect 1\n"),
     {"6:1: error: </define> 与第 3 行的 <sql> 交叉: <sql> 应在 </define> 之前结束"}},
    {"UnclosedComment", DOC("<!-- note\n<sql>x</sql>"), {"3:1: error: 注释 <!-- 没有结束标记 -->"}},
    {"StartTagWithoutGreaterThan", DOC("<sql type=\"class\"\n<sql>x</sql>\n</sql>"),
     {"3:1: error: 开始标记 <sql 缺少“>”"}},
    {"EndTagWithoutGreaterThan", DOC("<sql>x</sql\n"),
     {"3:7: warning: </sql> 保存时将被转义,存为文本,平台不会把它当作标记(规则文件中没有还原它的规则)",
      "3:7: error: 结束标记 </sql 缺少“>”"}},
    {"LinesEndAsTheComponentEndsThem", DOC("a\r\nb\rc\n</sql>"), {"6:1: error: </sql> 没有对应的开始标记 <sql>"}},
};

class Rows : public ::testing::TestWithParam<Row> {};

TEST_P(Rows, FindTheProblems)
{
    QStringList expected;
    for (const char *line : GetParam().expected)
        expected << QString::fromUtf8(line);
    EXPECT_EQ(check(GetParam().text).join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}

INSTANTIATE_TEST_SUITE_P(Check, Rows, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });

// What the stored form holds where a row above reports: the reason for each report, shown.
struct StoredRow { const char *name, *readable, *stored; };
const StoredRow kStoredRows[] = {
    {"ErrorCountStaysRaw", "where n<error_count > 0", "where n<error_count &gt; 0"},
    {"SelectivityStaysRaw", "a<selectivity", "a<selectivity"},
    {"SqlcodeStaysRaw", "c<sqlcode", "c<sqlcode"},
    {"MisspelledSqlHalfRestored", "<sqll type=\"condition\">x</sqll>", "<sqll type=\"condition&quot;&gt;x&lt;/sqll&gt;"},
    {"UpperCaseSqlIsText", "<SQL>y</SQL>", "&lt;SQL&gt;y&lt;/SQL&gt;"},
    {"ShortEndTagIsText", "<sql>z</sq>", "<sql>z&lt;/sq&gt;"},
    {"MisspelledAttribute", "<sql typ=\"condition\">", "<sql typ=&quot;condition&quot;&gt;"},
    {"BlanksAroundEquals", "<sql type = \"condition\">", "<sql type = &quot;condition&quot;&gt;"},
    {"SelfClosedSql", "<sql type=\"class\"/>", "<sql type=\"class&quot;/&gt;"},
    {"ConditionOverTwoLines", "<exec condition=\"1\n and 2\">", "<exec condition=\"1\n and 2&quot;&gt;"},
    {"EntityTypedAsLetters", "a &lt; b", "a &amp;lt; b"},
    {"ConfirmIsText", "<confirm yesDefine=\"a\">", "&lt;confirm yesDefine=&quot;a&quot;&gt;"},
    {"EndTagWithBlankIsText", "<sql>x</sql >", "<sql>x&lt;/sql &gt;"},
};

class StoredRows : public ::testing::TestWithParam<StoredRow> {};

TEST_P(StoredRows, HoldWhatTheCheckReads)
{
    EXPECT_EQ(EscapeDefineText(QString::fromUtf8(GetParam().readable), KeyWordRules()).text,
              QString::fromUtf8(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(Check, StoredRows, ::testing::ValuesIn(kStoredRows),
                         [](const auto &info) { return std::string(info.param.name); });

// Rules that restore more tags make them markup; rules that change the text are found.
TEST(DefineCheck, RulesDecideWhatIsMarkup)
{
    const char *const text = DOC("<confirm yesDefine=\"a\" noDefine=\"b\">确认?</confirm>");
    const KeyWordRules more = KeyWordRules::fromText(
        QString::fromUtf8(kExampleRules) + QStringLiteral("<confirm|<confirm\n</confirm>|</confirm>\n"));
    EXPECT_EQ(check(text, more), QStringList());
    const KeyWordRules changing =
        KeyWordRules::fromText(QString::fromUtf8(kExampleRules) + QStringLiteral("确认|确定\n"));
    EXPECT_EQ(check(text, changing).join(u'\n').toStdString(),
              QStringList{QStringLiteral("3:38: error: 按规则文件转义后,保存的文本从这里起再打开时与原文不同")}.join(u'\n').toStdString());
}

TEST(DefineCheck, EachNulCharacterIsAnError)
{
    DefineCheckOptions options;
    options.rules = &exampleRules();
    static const char raw[] = "<defineSqls>\n<define name=\"a\">\n<sql>a\0b\0</sql>\n</define>\n</defineSqls>";
    const QByteArray text(raw, sizeof raw - 1);
    EXPECT_EQ(lines(checkDefineText(text, options)),
              (QStringList{QStringLiteral("3:7: error: 此处有 NUL 字符(编码为 0 的控制字符),请删除"),
                           QStringLiteral("3:9: error: 此处有 NUL 字符(编码为 0 的控制字符),请删除")}));
}

TEST(DefineCheck, ProblemsCarryTheComponentsByteOffsetAndLength)
{
    DefineCheckOptions options;
    options.rules = &exampleRules();
    const DefineCheckResult r = checkDefineText(QByteArray(DOC("单\t<sql type=\"x\">y</sql>")), options);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].offset, 31 + 3 + 1 + 11); // the value "x", after "单" (three bytes) and a tab
    EXPECT_EQ(r.problems[0].length, 1);
    EXPECT_EQ(r.errors, 0);
    EXPECT_EQ(r.warnings, 1);
}

TEST(DefineCheck, RuleFileThatCannotCompileIsReportedOnLineOne)
{
    const KeyWordRules rules = KeyWordRules::fromText(QStringLiteral("<confirm>|<confirm>\n(oops|x\n|only\n"));
    DefineCheckOptions options;
    options.rules = &rules;
    EXPECT_EQ(lines(checkDefineText(QByteArray("<sql>\n</sql>"), options)).value(0),
              QStringLiteral("1:1: error: 规则文件 KeyWord.txt 第 2 行: 正则表达式无效,保存时转义会失败: (oops"));
    ASSERT_EQ(checkRuleFile(rules).size(), 1u);
    EXPECT_EQ(checkRuleFile(rules)[0].line, 2);
    options.reportRuleFile = false;
    EXPECT_EQ(lines(checkDefineText(QByteArray("<sql>\n</sql>"), options)),
              QStringList{QStringLiteral("1:1: error: <sql> 只能写在 <define> 中")});
}

// Every item completion offers after "<", inserted where it belongs, is sound define text: only
// the define item's empty name is left for the user to fill, and the tags the table does not
// restore are stored as text.
TEST(DefineCheck, CompletionItemsAreSoundWhereTheyBelong)
{
    for (std::string_view item : define_vocabulary::kTagListItems) {
        const QByteArray tag = "<" + QByteArray(item.data(), static_cast<qsizetype>(item.size()));
        const QByteArray text = item.starts_with("defineSqls") ? tag
                                : item.starts_with("define ")  ? "<defineSqls>\n" + tag + "\n</defineSqls>"
                                                               : "<defineSqls>\n<define name=\"a\">\n" + tag +
                                                                    "\n</define>\n</defineSqls>";
        const QStringList found = check(text.constData());
        if (item.starts_with("define "))
            EXPECT_EQ(found, QStringList{QStringLiteral("2:15: error: <define> 的 name 为空")});
        else if (item.starts_with("confirm") || item.starts_with("sucess"))
            EXPECT_EQ(found.size(), 2) << text.toStdString();
        else
            EXPECT_EQ(found, QStringList()) << text.toStdString();
    }
}

TEST(DefineCheck, DeepNestingNeedsNoRecursion)
{
    constexpr int kLevels = 100'000;
    const QByteArray head = "<defineSqls><define name=\"a\">";
    const QByteArray closed = head + QByteArray("<select>").repeated(kLevels) + QByteArray("</select>").repeated(kLevels) +
                              "</define></defineSqls>";
    EXPECT_EQ(checkDefineText(closed).errors, 0);

    const DefineCheckResult open = checkDefineText(head + QByteArray("\n<select>").repeated(kLevels));
    EXPECT_EQ(open.errors, kLevels + 2);
    ASSERT_EQ(open.problems.size(), 1000u);
    EXPECT_EQ(open.omitted(), kLevels + 2 - 1000);
    EXPECT_EQ(open.problems.back().line, 999); // two on the first line, then one a line
    EXPECT_EQ(omittedProblemsNote(open), QStringLiteral("还有 99002 个问题未列出"));
}

TEST(DefineCheck, KeepsTheFirstProblemsByPositionHoweverLateTheyAreFound)
{
    // The unclosed element is found last but lies first.
    const QByteArray text = "<sql>" + QByteArray("</define>").repeated(1'000'000);
    const DefineCheckResult r = checkDefineText(text);
    EXPECT_EQ(r.errors, 1'000'002); // misplaced and never closed, then every stray end
    ASSERT_EQ(r.problems.size(), 1000u);
    EXPECT_EQ(r.problems[1].offset, 0);
    EXPECT_EQ(r.problems[2].offset, 5);
    EXPECT_EQ(r.problems[999].offset, 5 + 997 * 9);
    EXPECT_EQ(r.problems[999].column, 6 + 997 * 9);
}

TEST(DefineCheck, ManyUnclosedCommentsStayLinear)
{
    const DefineCheckResult r = checkDefineText(QByteArray("<!--\n").repeated(200'000));
    EXPECT_EQ(r.errors, 200'000);
    EXPECT_EQ(r.problems.size(), 1000u);
}

} // namespace
