// plendor-cli on real files and streams. It converts GBK bytes without decoding them unless a
// rule file needs the text: the results are those of the decoded conversions, and unreadable
// input is refused at the offset the codec reports.
#include "CliCommands.h"
#include "support/CliRunner.h"
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/GbkSamples.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
CliRun run(const QStringList &args, const QByteArray &input = {}) { return runCliCommand(args, input); }

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
struct CliGbk : ::testing::Test {
    QTemporaryDir dir; // the program folder: no rule file beside the program
    const platform::AnsiCodec codec;
    void SetUp() override { platform::setProgramFolder(dir.path()); }
    void TearDown() override { platform::setProgramFolder(QString()); }
};

TEST_F(CliGbk, FixedConversionsGiveWhatDecodingGives)
{
    writeFile(dir.filePath("empty-rules.txt"), "\n");
    GbkSamples samples(17);
    for (int i = 0; i < 300; ++i) {
        const QByteArray input = samples.next();
        const QString text = codec.decode(input);
        const QByteArray stored = codec.encode(EscapeDefineText(text, KeyWordRules{}).text);
        ASSERT_EQ(run({"escape"}, input).codeAndOut(), std::make_pair(0, stored)) << input.toHex(' ').toStdString();
        ASSERT_EQ(run({"escape", "--keywords", dir.filePath("empty-rules.txt")}, input).codeAndOut(),
                  std::make_pair(0, stored))
            << "decoded for the rule file: " << input.toHex(' ').toStdString();
        ASSERT_EQ(run({"unescape"}, input).codeAndOut(), std::make_pair(0, codec.encode(UnescapeDefineText(text))))
            << input.toHex(' ').toStdString();
    }
}

TEST_F(CliGbk, RuleFileBesideTheProgramIsStillRead)
{
    writeFile(dir.filePath("KeyWord.txt"), "<confirm>|<confirm>\n");
    EXPECT_EQ(run({"escape"}, "<confirm>a<b").codeAndOut(), std::make_pair(0, QByteArray("<confirm>a&lt;b")));
}

TEST_F(CliGbk, UnreadableInputIsRefusedWhereTheCodecFindsIt)
{
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0x7E, 0xFF);
    GbkSamples samples(23);
    for (int i = 0; i < 200; ++i) {
        QByteArray input = samples.next();
        std::uniform_int_distribution<qsizetype> where(0, input.size());
        input.insert(where(random), QByteArray(1, static_cast<char>(byte(random))));
        const qsizetype expected = codec.decodeChecked(input).firstInvalidByte;
        for (const char *command : {"escape", "unescape"}) {
            const auto [code, out, err] = run({command}, input);
            if (expected < 0) {
                ASSERT_EQ(code, 0) << err.toStdString();
                continue;
            }
            ASSERT_EQ(code, 1);
            ASSERT_TRUE(err.contains("byte offset " + QByteArray::number(expected) + ")")) << err.toStdString();
            ASSERT_TRUE(out.isEmpty());
        }
    }
}
} // namespace
