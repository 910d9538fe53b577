#include "CliCommands.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct CliRun {
    int code;
    QByteArray out;
    QByteArray err;
};

CliRun run(const QStringList &args, const QByteArray &input = {})
{
    QByteArray inBytes = input, outBytes, errBytes;
    QBuffer in(&inBytes), out(&outBytes), err(&errBytes);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = runCli(args, CliIo{&in, &out, &err});
    return {code, outBytes, errBytes};
}

TEST(Cli, EscapeAndUnescapeWorkOnGbkBytes)
{
    QTemporaryDir dir;
    const QByteArray readable = gbk(QStringLiteral("<define name=\"单\">\r\na<b</define>"));
    const QByteArray stored = gbk(QStringLiteral("<define name=&quot;单&quot;&gt;\r\na&lt;b</define>"));
    writeFile(dir.filePath("rules.txt"), "\n");
    const CliRun ok = run({"escape", "--keywords", dir.filePath("rules.txt")}, readable);
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out, stored);

    EXPECT_EQ(run({"unescape", "-", "-o", dir.filePath("out.xml")}, stored).code, 0);
    EXPECT_EQ(readFile(dir.filePath("out.xml")), readable);
}

TEST(Cli, FailuresExitNonZeroWithOneLine)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("bad.txt"), "(oops|x\n");
    const CliRun bad = run({"escape", "--keywords", dir.filePath("bad.txt")}, "text");
    EXPECT_NE(bad.code, 0);
    EXPECT_EQ(bad.out, QByteArray());
    EXPECT_EQ(bad.err.count('\n'), 1);

    EXPECT_NE(run({"escape", "--keywords", "/nonexistent-rules"}, "text").code, 0) << "a named rule file must be read";
    EXPECT_NE(run({"unescape", dir.filePath("missing.xml")}).code, 0);
    EXPECT_NE(run({"frobnicate"}).code, 0);
    EXPECT_NE(run({}).code, 0);
    EXPECT_NE(run({"escape", "--keywords"}).code, 0);
    EXPECT_NE(run({"unescape", "-o", dir.filePath("no/such/dir/x")}, "a").code, 0);
}

TEST(Cli, UnreadableInputAndUnwritableOutputSayWhy)
{
    QTemporaryDir dir;
    const CliRun invalid = run({"unescape", "-o", dir.filePath("out.xml")}, QByteArray("a&lt;b\x81"));
    EXPECT_EQ(invalid.code, 1);
    EXPECT_TRUE(invalid.err.contains("byte offset 6")) << invalid.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xml"))) << "nothing is written";

    const CliRun folder = run({"escape", dir.path()});
    EXPECT_EQ(folder.code, 1);
    EXPECT_TRUE(folder.err.contains("folder")) << folder.err.toStdString();

    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QByteArray input("a<b"), errBytes;
    QBuffer in(&input), err(&errBytes);
    in.open(QIODevice::ReadOnly);
    err.open(QIODevice::WriteOnly);
    EXPECT_EQ(runCli({"escape"}, CliIo{&in, &full, &err}), 1);
    EXPECT_TRUE(errBytes.contains("No space left")) << errBytes.toStdString();
}
} // namespace
