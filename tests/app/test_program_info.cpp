// `plendor --help` and `--version` answer only when one of them is the whole command line; any
// launch text of the platform, and any local path, starts the editor.
#include "app/LaunchParams.h"
#include "app/ProgramInfo.h"
#include "platform/Version.h"

#include <gtest/gtest.h>

namespace {
struct InfoCase { const char *name; QStringList arguments; const char *answer; };

const InfoCase kInfoCases[] = {
    {"Help", {"plendor", "--help"}, "Usage: plendor"},
    {"Version", {"plendor", "--version"}, "plendor "},
    {"NoArgumentsStartsTheEditor", {"plendor"}, nullptr},
    {"HelpInsideLaunchTextIsAValue", {"plendor", "getHost=h,DefineName=--help"}, nullptr},
    {"HelpAsALaunchPieceIsIgnored", {"plendor", "--help,getHost=h"}, nullptr},
    {"HelpBesideAPathIsAPath", {"plendor", "--help", "a.xml"}, nullptr},
    {"BothOptionsAreAPath", {"plendor", "--help", "--version"}, nullptr},
    {"QuotedHelpIsAPath", {"plendor", "\"--help\""}, nullptr},
    {"OtherCaseIsAPath", {"plendor", "--Help"}, nullptr},
    {"ShortFormIsAPath", {"plendor", "-h"}, nullptr},
};

class ProgramInfo : public ::testing::TestWithParam<InfoCase> {};

TEST_P(ProgramInfo, AnswersOnlyTheWholeCommandLine)
{
    const InfoCase &c = GetParam();
    const auto answer = programInfoRequest(rawCommandLine(c.arguments));
    if (!c.answer) {
        EXPECT_FALSE(answer.has_value());
        return;
    }
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(answer->startsWith(c.answer)) << answer->toStdString();
    EXPECT_TRUE(answer->endsWith('\n'));
}

INSTANTIATE_TEST_SUITE_P(Lines, ProgramInfo, ::testing::ValuesIn(kInfoCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ProgramInfoText, VersionLineAndHelpNameBothModes)
{
    EXPECT_EQ(programVersionText().split('\n').first(), "plendor " + platform::programVersion().toUtf8());
    const QByteArray help = programHelpText();
    for (const char *word : {"getHost=", "getPort=", "UpLoadFileName=", "OpenFileName=", "DefineName=", "UserId=",
                             "JsessionID=", "--version", "PLENDOR_SETTINGS_DIR"})
        EXPECT_TRUE(help.contains(word)) << word;
}
} // namespace
