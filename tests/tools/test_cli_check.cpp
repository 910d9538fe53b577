// plendor-cli check on real stored files: one line per problem, positions of the readable form,
// and the exit code that tells a hook whether any file has an error.
#include "CliCommands.h"
#include "support/CliRunner.h"
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CheckRun {
    int code;
    QStringList out;
    QByteArray err;
};

struct CliCheck : ::testing::Test {
    QTemporaryDir dir; // the program folder: no rule file beside the program
    void SetUp() override { platform::setProgramFolder(dir.path()); }
    void TearDown() override { platform::setProgramFolder(QString()); }

    // A stored define file, as a save writes it.
    QString stored(const QString &name, const QString &readable)
    {
        const QString path = dir.filePath(name);
        writeFile(path, gbk(EscapeDefineText(readable, KeyWordRules{}).text));
        return path;
    }

    CheckRun run(QStringList args)
    {
        args.prepend(QStringLiteral("check"));
        const CliRun result = runCliCommand(args);
        QStringList lines = QString::fromUtf8(result.out).split(QLatin1Char('\n'));
        EXPECT_EQ(lines.takeLast(), QString()) << "every line ends";
        return {result.code, lines, result.err};
    }
};

TEST_F(CliCheck, PrintsOneLinePerProblemOfEveryFile)
{
    const QString clean = stored("clean.xml", QStringLiteral("<define name=\"a\">\r\n<sql>select 1 where a<b & c</sql>\r\n</define>"));
    const QString warned = stored("warned.xml", QStringLiteral("<define name=\"单据\">\r\n\t<sql type=\"exec\">x</sql></define>"));
    const QString broken = stored("broken.xml", QStringLiteral("<define name=\"a\">\r\n<sql>select 1\r\n</define>"));

    const CheckRun onlyWarnings = run({clean, warned});
    EXPECT_EQ(onlyWarnings.code, 0) << "warnings are no errors";
    EXPECT_EQ(onlyWarnings.out,
              QStringList{warned + QStringLiteral(":2:13: warning: sql 的 type“exec”不是已知的类型(condition, class, "
                                                  "define, procedure, setValue, setInputType)")});

    const CheckRun all = run({broken, clean, warned});
    EXPECT_EQ(all.code, 1);
    ASSERT_EQ(all.out.size(), 2);
    EXPECT_EQ(all.out[0], broken + QStringLiteral(":3:1: error: </define> 与第 2 行的 <sql> 交叉: <sql> 应在 </define> 之前结束"));
    EXPECT_TRUE(all.out[1].startsWith(warned + QStringLiteral(":2:13: warning:")));
    EXPECT_TRUE(all.err.isEmpty()) << all.err.toStdString();
}

TEST_F(CliCheck, UnreadableFileExitsTwoAndTheOthersAreStillChecked)
{
    const QString broken = stored("broken.xml", QStringLiteral("</sql>"));
    const CheckRun r = run({dir.filePath("missing.xml"), broken, dir.path()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, QStringList{broken + QStringLiteral(":1:1: error: </sql> 没有对应的开始标记 <sql>")});
    EXPECT_EQ(r.err.count('\n'), 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("missing.xml"));
}

TEST_F(CliCheck, BadArgumentsExitTwo)
{
    EXPECT_EQ(run({}).code, 2);
    EXPECT_EQ(run({"--frobnicate", "a.xml"}).code, 2);
    EXPECT_EQ(run({"a.xml", "--keywords"}).code, 2);
    EXPECT_EQ(run({"--keywords", dir.filePath("no-rules.txt"), stored("a.xml", "x")}).code, 2);
}

TEST_F(CliCheck, ReadsTheStoredFormAndTheRuleFile)
{
    // Stored as a site with a rule file writes it: the attribute's quote and ">" restored.
    const QString path = dir.filePath("site.xml");
    writeFile(path, gbk(QStringLiteral("<define name=\"a\">\r\n<sql type=\"condition\">1 &lt;&gt; 2 &amp;&amp; 单</sql>\r\n</define>")));
    EXPECT_EQ(run({path}).out, QStringList());

    writeFile(dir.filePath("rules.txt"), "(oops|x\r\n");
    const CheckRun r = run({"--keywords", dir.filePath("rules.txt"), path});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, QStringList{path + QStringLiteral(":1:1: error: 规则文件 rules.txt 第 1 行的正则表达式无效,保存时转义会失败: (oops")});
}

TEST_F(CliCheck, EmptyAndInvalidBytesAndTooManyProblems)
{
    const QString empty = dir.filePath("empty.xml");
    writeFile(empty, QByteArray());
    EXPECT_EQ(run({empty}).code, 0);

    const QString invalid = dir.filePath("invalid.xml");
    writeFile(invalid, QByteArray("<sql>\r\n&lt;\xb5\xa5\x81</sql>")); // "单" in GBK, then a lead byte without its trail
    ASSERT_FALSE(run({invalid}).out.isEmpty());
    EXPECT_EQ(run({invalid}).out.first(),
              invalid + QStringLiteral(":2:3: warning: 文件中有 GBK 编码无法识别的字节(第 14 个字节),保存后这些字节将被改变"));

    const QString many = dir.filePath("many.xml");
    writeFile(many, QByteArray("</sql>\n").repeated(5000));
    const CheckRun r = run({many});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.out.size(), 1001);
    EXPECT_EQ(r.out.back(), many + QStringLiteral(": note: 还有 4000 个问题未列出"));
}

} // namespace
