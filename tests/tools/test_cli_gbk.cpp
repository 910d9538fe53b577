// plendor-cli converts GBK bytes without decoding them unless a rule file needs the text: the
// results are those of the decoded conversions, and unreadable input is refused at the offset
// the codec reports.
#include "CliCommands.h"
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/GbkSamples.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliGbk : ::testing::Test {
    QTemporaryDir dir; // the program folder: no rule file beside the program
    const platform::AnsiCodec codec;

    void SetUp() override { platform::setProgramFolder(dir.path()); }
    void TearDown() override { platform::setProgramFolder(QString()); }

    std::pair<int, QByteArray> run(const QStringList &args, QByteArray input, QByteArray *err = nullptr)
    {
        QByteArray outBytes, errBytes;
        QBuffer in(&input), out(&outBytes), errDevice(&errBytes);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        errDevice.open(QIODevice::WriteOnly);
        const int code = runCli(args, CliIo{&in, &out, &errDevice});
        if (err)
            *err = errBytes;
        return {code, outBytes};
    }
};

TEST_F(CliGbk, FixedConversionsGiveWhatDecodingGives)
{
    writeFile(dir.filePath("empty-rules.txt"), "\n");
    GbkSamples samples(17);
    for (int i = 0; i < 300; ++i) {
        const QByteArray input = samples.next();
        const QString text = codec.decode(input);
        const QByteArray stored = codec.encode(EscapeDefineText(text, KeyWordRules{}).text);
        ASSERT_EQ(run({"escape"}, input), std::make_pair(0, stored)) << input.toHex(' ').toStdString();
        ASSERT_EQ(run({"escape", "--keywords", dir.filePath("empty-rules.txt")}, input), std::make_pair(0, stored))
            << "decoded for the rule file: " << input.toHex(' ').toStdString();
        ASSERT_EQ(run({"unescape"}, input), std::make_pair(0, codec.encode(UnescapeDefineText(text))))
            << input.toHex(' ').toStdString();
    }
}

TEST_F(CliGbk, RuleFileBesideTheProgramIsStillRead)
{
    writeFile(dir.filePath("KeyWord.txt"), "<confirm>|<confirm>\n");
    EXPECT_EQ(run({"escape"}, "<confirm>a<b"), std::make_pair(0, QByteArray("<confirm>a&lt;b")));
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
            QByteArray err;
            const auto [code, out] = run({command}, input, &err);
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
