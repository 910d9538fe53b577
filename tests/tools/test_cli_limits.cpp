// Endless input ends with one line and exit 2 at the --max-input limit, for every command that
// reads one; the limit's sizes are read as a user writes them.
#include "CliCommands.h"
#include "CliInputLimit.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct EndlessCase {
    const char *name;
    QStringList args;
};

// /dev/zero never ends: only the limit stops the reading.
const EndlessCase kEndless[] = {
    {"Escape", {"escape", "/dev/zero", "--max-input", "1M"}},
    {"Unescape", {"--max-input=1M", "unescape", "/dev/zero"}},
    {"Check", {"check", "--max-input", "1M", "/dev/zero"}},
    {"Html", {"html", "/dev/zero", "--max-input", "1M"}},
    {"HighlighterCompile", {"highlighter", "compile", "/dev/zero", "-o", "/dev/null", "--max-input", "1M"}},
    {"EscapeStandardInput", {"escape", "-", "--max-input", "1M"}},
    {"CheckStandardInput", {"check", "-", "--max-input", "1M"}},
};

class EndlessInput : public ::testing::TestWithParam<EndlessCase> {};

TEST_P(EndlessInput, EndsAtTheLimitWithOneLineAndExitTwo)
{
    // Standard input holds a little more than the limit; the files are endless.
    const CliRun r = runCliCommand(GetParam().args, QByteArray((1 << 20) + 1, 'a'));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("is larger than 1048576 bytes")) << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Limits, EndlessInput, ::testing::ValuesIn(kEndless),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(EndlessInput, InputWithinTheLimitIsReadWhole)
{
    const CliRun r = runCliCommand({"escape", "--max-input", "8"}, "a<b&c");
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("a&lt;b&amp;c"));
}

TEST(MaxInputSize, ReadsAsAUserWritesIt)
{
    EXPECT_EQ(cli::parseSize("100"), 100);
    EXPECT_EQ(cli::parseSize("64k"), 64 << 10);
    EXPECT_EQ(cli::parseSize("512M"), qint64(512) << 20);
    EXPECT_EQ(cli::parseSize("2G"), qint64(2) << 30);
    for (const char *bad : {"", "0", "-5", "+5", "1.5G", "G", "lots", "99999999999T"})
        EXPECT_FALSE(cli::parseSize(bad).has_value()) << bad;
}

// The limit may come before the command; html and pdf still get the application that draws.
TEST(MaxInputSize, BeforeTheCommandLeavesItsApplicationAsItIs)
{
    const auto draws = [](std::initializer_list<const char *> args) {
        std::vector<const char *> argv{"plendor-cli"};
        argv.insert(argv.end(), args);
        return cliCommandDraws(static_cast<int>(argv.size()), argv.data());
    };
    EXPECT_TRUE(draws({"html", "in.xml"}));
    EXPECT_TRUE(draws({"--max-input", "1M", "html", "in.xml"}));
    EXPECT_TRUE(draws({"--max-input=1M", "pdf", "in.xml", "-o", "out.pdf"}));
    EXPECT_FALSE(draws({"--max-input", "1M", "escape", "html"}));
    EXPECT_FALSE(draws({"--max-input", "html"})) << "html is the limit's value here";
    EXPECT_FALSE(draws({}));
}

} // namespace
