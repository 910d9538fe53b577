// plendor-cli's help and version: on standard output with exit 0, built from the one table of
// commands; a wrong command line still fails with one line on standard error and exit 2.
#include "CliCommands.h"
#include "support/CliRunner.h"
#include "CliHelp.h"
#include "platform/Version.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

struct HelpCase { const char *name; QStringList args; const char *firstLine; };

const HelpCase kHelpCases[] = {
    {"Help", {"--help"}, "Usage: plendor-cli escape"},
    {"ShortHelp", {"-h"}, "Usage: plendor-cli escape"},
    {"HelpBeforeAnythingElse", {"--help", "escape"}, "Usage: plendor-cli escape"},
    {"Version", {"--version"}, "plendor-cli "},
    {"CommandHelp", {"unescape", "--help"}, "Usage: plendor-cli unescape [INPUT] [-o OUTPUT]"},
    {"CommandHelpAfterOtherArguments", {"escape", "in.xml", "-o", "out.xml", "--help"}, "Usage: plendor-cli escape ["},
    {"CommandHelpOfToken", {"token", "--user", "u", "--help"}, "Usage: plendor-cli token [--user U]"},
};

class CliHelp : public ::testing::TestWithParam<HelpCase> {};

TEST_P(CliHelp, WritesToStandardOutputAndSucceeds)
{
    const HelpCase &c = GetParam();
    const CliRun r = runCliCommand(c.args);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(c.firstLine)) << r.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Lines, CliHelp, ::testing::ValuesIn(kHelpCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct WrongCase { const char *name; QStringList args; const char *message; };

const WrongCase kWrongCases[] = {
    {"UnknownOption", {"--frobnicate"}, "plendor-cli: unknown option --frobnicate\n"},
    {"UnknownOptionOfACommand", {"escape", "--bogus"}, "plendor-cli: unknown option --bogus\n"},
    {"UnknownCommand", {"frobnicate"}, "plendor-cli: unknown command frobnicate (plendor-cli --help lists the commands)\n"},
    {"HelpOfAnUnknownCommand", {"frobnicate", "--help"}, "plendor-cli: unknown command frobnicate (plendor-cli --help lists the commands)\n"},
    {"VersionAfterACommandIsAnOption", {"escape", "--version"}, "plendor-cli: unknown option --version\n"},
    {"MaxInputWithoutASize", {"escape", "--max-input"}, "plendor-cli: --max-input needs a size\n"},
    {"MaxInputThatIsNoSize", {"--max-input=lots", "escape"},
     "plendor-cli: --max-input wants a size such as 500M or 2G, not lots\n"},
};

class CliWrongUsage : public ::testing::TestWithParam<WrongCase> {};

TEST_P(CliWrongUsage, FailsWithOneLineAndExitTwo)
{
    const WrongCase &c = GetParam();
    const CliRun r = runCliCommand(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QByteArray(c.message));
}

INSTANTIATE_TEST_SUITE_P(Lines, CliWrongUsage, ::testing::ValuesIn(kWrongCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CliHelpText, ListsEveryCommandAndEachHasItsOwnHelp)
{
    const QByteArray help = runCliCommand({"--help"}).out;
    const QByteArray usage = runCliCommand({}).err;
    ASSERT_FALSE(cliCommands().empty());
    for (const CliCommandHelp &command : cliCommands()) {
        const QByteArray line = QByteArray("  ") + command.name + ' ' + command.synopsis + '\n';
        EXPECT_TRUE(help.contains("\nCommands:\n") && help.contains(line)) << command.name;
        EXPECT_TRUE(usage.contains(QByteArray("plendor-cli ") + command.name + ' ' + command.synopsis)) << command.name;
        const CliRun own = runCliCommand({command.name, "--help"});
        EXPECT_EQ(own.code, 0) << command.name;
        EXPECT_TRUE(own.out.contains(QByteArray(command.description).left(30))) << command.name;
    }
    for (const QByteArray &line : help.split('\n'))
        EXPECT_LE(line.size(), 80) << line.toStdString();
    EXPECT_EQ(runCliCommand({"--version"}).out.split('\n').first(), "plendor-cli " + platform::programVersion().toUtf8());
}

struct WrapCase { const char *name; const char *text; int indent, width; const char *wrapped; };

const WrapCase kWrapCases[] = {
    {"Empty", "", 2, 10, ""},
    {"FitsOnOneLine", "a b c", 2, 10, "  a b c\n"},
    {"BreaksBetweenWords", "aaa bbb ccc", 0, 7, "aaa bbb\nccc\n"},
    {"IndentCountsInTheWidth", "aaa bbb ccc", 2, 9, "  aaa bbb\n  ccc\n"},
    {"LongWordStandsAlone", "a verylongword b", 0, 5, "a\nverylongword\nb\n"},
    {"RunsOfSpacesCollapse", "a   b ", 0, 10, "a b\n"},
};

class WrapParagraph : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapParagraph, BreaksAtSpacesWithinTheWidth)
{
    const WrapCase &c = GetParam();
    EXPECT_EQ(wrapParagraph(QString::fromUtf8(c.text), c.indent, c.width), QString::fromUtf8(c.wrapped));
}

INSTANTIATE_TEST_SUITE_P(Lines, WrapParagraph, ::testing::ValuesIn(kWrapCases),
                         [](const auto &info) { return std::string(info.param.name); });
} // namespace
