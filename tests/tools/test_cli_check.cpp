// plendor-cli check on real stored files: one line per problem, positions of the readable form,
// the rule file's own problems once at their line, and the exit code that tells a hook whether
// any file has an error.
#include "CliCommands.h"
#include "support/CliRunner.h"
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CheckRun {
    int code;
    QStringList out;
    QByteArray err;
};

const char kExampleRules[] = "<defineSqls>|<defineSqls>\r\n</defineSqls>|</defineSqls>\r\n";

QString doc(const QString &body)
{
    return QStringLiteral("<defineSqls>\r\n<define name=\"a\">\r\n") + body + QStringLiteral("\r\n</define>\r\n</defineSqls>");
}

struct CliCheck : ::testing::Test {
    QTemporaryDir dir; // the program folder, with the example rule file beside the program
    void SetUp() override
    {
        platform::setProgramFolder(dir.path());
        writeFile(dir.filePath("KeyWord.txt"), kExampleRules);
    }
    void TearDown() override { platform::setProgramFolder(QString()); }

    // A stored define file, as a save writes it.
    QString stored(const QString &name, const QString &readable)
    {
        const QString path = dir.filePath(name);
        writeFile(path, gbk(EscapeDefineText(readable, KeyWordRules::fromText(kExampleRules)).text));
        return path;
    }

    CheckRun run(QStringList args, const QByteArray &input = {})
    {
        args.prepend(QStringLiteral("check"));
        const CliRun result = runCliCommand(args, input);
        QStringList lines = QString::fromUtf8(result.out).split(QLatin1Char('\n'));
        EXPECT_EQ(lines.takeLast(), QString()) << "every line ends";
        return {result.code, lines, result.err};
    }
};

TEST_F(CliCheck, PrintsOneLinePerProblemOfEveryFile)
{
    const QString clean = stored("clean.xml", doc(QStringLiteral("<sql>select 1 where a<b & c</sql>")));
    const QString warned = stored("warned.xml", doc(QStringLiteral("\t<sql type=\"exec\">x</sql>")));
    const QString broken = stored("broken.xml", doc(QStringLiteral("<sql>select 1 where n<error_count")));

    const CheckRun onlyWarnings = run({clean, warned});
    EXPECT_EQ(onlyWarnings.code, 0) << "warnings are no errors";
    EXPECT_EQ(onlyWarnings.out,
              QStringList{warned + QStringLiteral(":3:13: warning: sql 的 type“exec”不是已知的类型(condition, class, "
                                                  "define, procedure, setValue, setInputType)")});

    const CheckRun all = run({broken, clean, warned});
    EXPECT_EQ(all.code, 1);
    ASSERT_EQ(all.out.size(), 3);
    EXPECT_EQ(all.out[0], broken + QStringLiteral(":3:22: error: “<error_count”保存时不会被转义,平台会把它读作标记 "
                                                  "<error_count>;若是比较运算,请在“<”后加一个空格"));
    EXPECT_EQ(all.out[1], broken + QStringLiteral(":4:1: error: </define> 与第 3 行的 <sql> 交叉: <sql> 应在 </define> 之前结束"));
    EXPECT_TRUE(all.out[2].startsWith(warned + QStringLiteral(":3:13: warning:")));
    EXPECT_TRUE(all.err.isEmpty()) << all.err.toStdString();
}

TEST_F(CliCheck, UnreadableFileExitsTwoAndTheOthersAreStillChecked)
{
    const QString broken = stored("broken.xml", doc(QStringLiteral("</sql>")));
    const CheckRun r = run({dir.filePath("missing.xml"), broken, dir.path()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, QStringList{broken + QStringLiteral(":3:1: error: </sql> 没有对应的开始标记 <sql>")});
    EXPECT_EQ(r.err.count('\n'), 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("missing.xml"));
}

TEST_F(CliCheck, BadArgumentsExitTwo)
{
    EXPECT_EQ(run({}).code, 2);
    EXPECT_EQ(run({"--frobnicate", "a.xml"}).code, 2);
    EXPECT_EQ(run({"a.xml", "--keywords"}).code, 2);
    EXPECT_EQ(run({"--keywords", dir.filePath("no-rules.txt"), stored("a.xml", "x")}).code, 2);
    EXPECT_EQ(run({"-", "-"}).code, 2);
}

TEST_F(CliCheck, StandardInputAndFilesAfterDoubleDash)
{
    const QByteArray clean = gbk(EscapeDefineText(doc(QStringLiteral("<sql>1</sql>")), KeyWordRules::fromText(kExampleRules)).text);
    EXPECT_EQ(run({"-"}, clean).code, 0);
    const CheckRun fromInput = run({"-"}, "<defineSqls>\n<sqll>");
    EXPECT_EQ(fromInput.code, 1);
    EXPECT_TRUE(fromInput.out.contains(QStringLiteral("<stdin>:2:1: error: 未知标记 <sqll>,是否应为 <sql>?")));

    writeFile(dir.filePath("--dashed.xml"), clean);
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(run({"--", "--dashed.xml"}).code, 0);
    EXPECT_EQ(run({"--dashed.xml"}).code, 2) << "an option unless after --";
    QDir::setCurrent(before);
}

TEST_F(CliCheck, RuleFileProblemsOnceAtTheirLine)
{
    const QString a = stored("a.xml", doc(QStringLiteral("<sql>1</sql>")));
    const QString b = stored("b.xml", doc(QStringLiteral("<sql>2</sql>")));
    const QString rules = dir.filePath("rules.txt");
    writeFile(rules, QByteArray(kExampleRules) + "(oops|x\r\n");
    const CheckRun r = run({"--keywords", rules, a, b});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, QStringList{rules + QStringLiteral(":3: error: 正则表达式无效,保存时转义会失败: (oops")});
}

TEST_F(CliCheck, EncodingsOncePerSpot)
{
    const QString empty = dir.filePath("empty.xml");
    writeFile(empty, QByteArray());
    EXPECT_EQ(run({empty}).code, 0);

    // "单" in GBK, then a lead byte without its trail: one warning, at its place.
    const QString invalid = dir.filePath("invalid.xml");
    writeFile(invalid, gbk(doc(QStringLiteral("<sql>\r\n&lt;"))) .replace("&lt;", "&lt;\xb5\xa5\x81"));
    const CheckRun bad = run({invalid});
    EXPECT_EQ(bad.out.filter(QStringLiteral("warning")),
              QStringList{invalid + QStringLiteral(":4:3: warning: 文件此处有 GBK 编码无法识别的字节,保存后它们将变为“?”")});

    // UTF-8 with and without a byte-order mark: one warning for the file.
    for (const QByteArray &head : {QByteArray(), QByteArray("\xef\xbb\xbf")}) {
        const QString utf8 = dir.filePath("utf8.xml");
        writeFile(utf8, head + EscapeDefineText(doc(QStringLiteral("<error>单</error>")),
                                                KeyWordRules::fromText(kExampleRules))
                                   .text.toUtf8());
        const CheckRun r = run({utf8});
        EXPECT_EQ(r.out.filter(QStringLiteral("warning")),
                  QStringList{utf8 + QStringLiteral(":1:1: warning: 文件像是 UTF-8 编码,但将按 GBK 读取和保存")})
            << head.size();
    }
}

TEST_F(CliCheck, TooManyProblems)
{
    const QString many = dir.filePath("many.xml");
    writeFile(many, QByteArray("</sql>\n").repeated(5000));
    const CheckRun r = run({many});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.out.size(), 1001);
    EXPECT_EQ(r.out.back(), many + QStringLiteral(": note: 还有 4000 个问题未列出"));
}

} // namespace
