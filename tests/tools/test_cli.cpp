// plendor-cli on real files and streams. It converts GBK bytes without decoding them unless a
// rule file needs the text: the results are those of the decoded conversions, and unreadable
// input is refused at the offset the codec reports.
#include "CliCommands.h"
#include "support/CliRunner.h"
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Cli, EscapeAndUnescapeWorkOnGbkBytes)
{
    QTemporaryDir dir;
    const QByteArray readable = gbk(QStringLiteral("<define name=\"单\">\r\na<b</define>"));
    const QByteArray stored = gbk(QStringLiteral("<define name=&quot;单&quot;&gt;\r\na&lt;b</define>"));
    writeFile(dir.filePath("rules.txt"), "\n");
    const CliRun ok = runCliCommand({"escape", "--keywords", dir.filePath("rules.txt")}, readable);
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out, stored);

    EXPECT_EQ(runCliCommand({"unescape", "-", "-o", dir.filePath("out.xml")}, stored).code, 0);
    EXPECT_EQ(readFile(dir.filePath("out.xml")), readable);
}

TEST(Cli, FailuresExitNonZeroWithOneLine)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("bad.txt"), "(oops|x\n");
    const CliRun bad = runCliCommand({"escape", "--keywords", dir.filePath("bad.txt")}, "text");
    EXPECT_NE(bad.code, 0);
    EXPECT_EQ(bad.out, QByteArray());
    EXPECT_EQ(bad.err.count('\n'), 1);

    EXPECT_NE(runCliCommand({"escape", "--keywords", "/nonexistent-rules"}, "text").code, 0) << "a named rule file must be read";
    EXPECT_NE(runCliCommand({"unescape", dir.filePath("missing.xml")}).code, 0);
    EXPECT_NE(runCliCommand({"frobnicate"}).code, 0);
    EXPECT_NE(runCliCommand({}).code, 0);
    EXPECT_NE(runCliCommand({"escape", "--keywords"}).code, 0);
    EXPECT_NE(runCliCommand({"unescape", "-o", dir.filePath("no/such/dir/x")}, "a").code, 0);
}

TEST(Cli, UnreadableInputAndUnwritableOutputSayWhy)
{
    QTemporaryDir dir;
    const CliRun invalid = runCliCommand({"unescape", "-o", dir.filePath("out.xml")}, QByteArray("a&lt;b\x81"));
    EXPECT_EQ(invalid.code, 1);
    EXPECT_TRUE(invalid.err.contains("byte offset 6")) << invalid.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xml"))) << "nothing is written";

    const CliRun folder = runCliCommand({"escape", dir.path()});
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
struct CliGbk : ::testing::Test {
    QTemporaryDir dir; // the program folder: no rule file beside the program
    const platform::AnsiCodec codec;
    void SetUp() override { platform::setProgramFolder(dir.path()); }
    void TearDown() override { platform::setProgramFolder(QString()); }
};

// One row per path a conversion takes; the byte scanner's own tests hold the cases. The input's
// pair ending in "t" would restore its quote if the bytes were read as single characters.
struct PathRow { const char *name; QStringList args; QByteArray input, output; };

const PathRow kPaths[] = {
    {"EscapeOnBytes", {"escape"}, "\x81type=\"x\"<", "\x81type=&quot;x&quot;&lt;"},
    {"EscapeDecodedForARuleFile", {"escape", "--keywords", "empty-rules.txt"}, "\x81type=\"x\"<",
     "\x81type=&quot;x&quot;&lt;"},
    {"UnescapeOnBytes", {"unescape"}, "\x81" "a&amp;\x81l&lt;", "\x81" "a&\x81l<"},
};

struct CliPaths : CliGbk, ::testing::WithParamInterface<PathRow> {};

TEST_P(CliPaths, GiveWhatDecodingGives)
{
    writeFile(dir.filePath("empty-rules.txt"), "\n");
    QStringList args = GetParam().args;
    if (args.size() > 1)
        args.last() = dir.filePath(args.last());
    EXPECT_EQ(runCliCommand(args, GetParam().input).codeAndOut(), std::make_pair(0, GetParam().output));
}
INSTANTIATE_TEST_SUITE_P(Gbk, CliPaths, ::testing::ValuesIn(kPaths),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliGbk, RuleFileBesideTheProgramIsStillRead)
{
    writeFile(dir.filePath("KeyWord.txt"), "<confirm>|<confirm>\n");
    EXPECT_EQ(runCliCommand({"escape"}, "<confirm>a<b").codeAndOut(), std::make_pair(0, QByteArray("<confirm>a&lt;b")));
}

TEST_F(CliGbk, UnreadableInputIsRefusedWhereTheCodecFindsIt)
{
    // A pair's lead byte before a space: the fourth byte is where reading fails.
    const QByteArray input("a\xD6\xD0\x81 b");
    ASSERT_EQ(codec.decodeChecked(input).firstInvalidByte, 3);
    for (const char *command : {"escape", "unescape"}) {
        const auto [code, out, err] = runCliCommand({command}, input);
        EXPECT_EQ(code, 1) << command;
        EXPECT_TRUE(err.contains("byte offset 3)")) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
}
} // namespace
