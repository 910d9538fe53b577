#include "CliCommands.h"
#include "platform/AnsiCodec.h"

#include <QBuffer>
#include <QFile>
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

QByteArray gbk(const QString &s) { return platform::AnsiCodec().encode(s); }

TEST(Cli, EscapeAndUnescapeWorkOnGbkBytes)
{
    const QByteArray readable = gbk(QStringLiteral("<define name=\"单\">\r\na<b</define>"));
    const QByteArray stored = gbk(QStringLiteral("<define name=&quot;单&quot;&gt;\r\na&lt;b</define>"));
    const CliRun escaped = run({"escape", "--keywords", "/nonexistent-rules"}, readable);
    EXPECT_NE(escaped.code, 0) << "a named rule file that cannot be read is an error";

    QTemporaryDir dir;
    QFile rules(dir.filePath("rules.txt"));
    ASSERT_TRUE(rules.open(QIODevice::WriteOnly));
    rules.write("\n");
    rules.close();
    const CliRun ok = run({"escape", "--keywords", dir.filePath("rules.txt")}, readable);
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out, stored);

    const CliRun back = run({"unescape", "-", "-o", dir.filePath("out.xml")}, stored);
    EXPECT_EQ(back.code, 0);
    QFile out(dir.filePath("out.xml"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), readable);
}

TEST(Cli, FailuresExitNonZeroWithOneLine)
{
    QTemporaryDir dir;
    QFile rules(dir.filePath("bad.txt"));
    ASSERT_TRUE(rules.open(QIODevice::WriteOnly));
    rules.write("(oops|x\n");
    rules.close();
    const CliRun bad = run({"escape", "--keywords", dir.filePath("bad.txt")}, "text");
    EXPECT_NE(bad.code, 0);
    EXPECT_EQ(bad.out, QByteArray());
    EXPECT_EQ(bad.err.count('\n'), 1);

    EXPECT_NE(run({"unescape", dir.filePath("missing.xml")}).code, 0);
    EXPECT_NE(run({"frobnicate"}).code, 0);
    EXPECT_NE(run({}).code, 0);
    EXPECT_NE(run({"escape", "--keywords"}).code, 0);
    EXPECT_NE(run({"unescape", "-o", dir.filePath("no/such/dir/x")}, "a").code, 0);
}
} // namespace
