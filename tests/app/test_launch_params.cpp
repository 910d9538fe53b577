#include "app/LaunchParams.h"

#include <gtest/gtest.h>

namespace {
struct LaunchCase { const char *name, *commandLine; bool serverMode; const char *host; int port; const char *defineName, *upload; };

const LaunchCase kLines[] = {
    {"EmptyLineIsLocalMode", "", false, "", 80, "", ""},
    {"FullServerLine", "getHost=srv,getPort=8080,UpLoadFileName=a.xml,OpenFileName=/tmp/a.xml,"
                       "DefineName=saveBill,UserId=u1,JsessionID=s1",
     true, "srv", 8080, "saveBill", "a.xml"},
    {"PortZeroBecomes80", "getHost=srv,getPort=0", true, "srv", 80, "", ""},
    {"NoPortPieceGives80", "getHost=srv", true, "srv", 80, "", ""},
    {"SpaceAfterCommaMakesAnUnknownKey", "getHost=srv, getPort=8080", true, "srv", 80, "", ""},
    {"ValueKeepsEverythingAfterTheFirstEquals", "getHost=h,DefineName=a=b=c", true, "h", 80, "a=b=c", ""},
    {"KeyInTheWrongCaseIsIgnored", "gethost=srv,getPort=81", false, "", 81, "", ""},
    {"LaterPieceWins", "getHost=a,getHost=b,getPort=1,getPort=2", true, "b", 2, "", ""},
    {"PiecesWithoutEqualsAndEmptyPieces", ",,junk,getHost=h,,=x,", true, "h", 80, "", ""},
    {"NothingIsTrimmed", "getHost= h ,UpLoadFileName= f ", true, " h ", 80, "", " f "},
    {"NonNumericPortCountsAsZero", "getHost=h,getPort=80a", true, "h", 80, "", ""},
    {"PortBeyond32BitsCountsAsZero", "getHost=h,getPort=99999999999", true, "h", 80, "", ""},
    {"NegativePortKept", "getHost=h,getPort=-5", true, "h", -5, "", ""},
    {"EmptyHostIsLocalMode", "getHost=,getPort=9", false, "", 9, "", ""},
    {"ChineseDefineName", "getHost=h,DefineName=保存", true, "h", 80, "保存", ""},
};

class LaunchParse : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchParse, FillsFieldsAsThePlatformPassesThem)
{
    const LaunchCase &c = GetParam();
    const ParsedCommandLine parsed = parseLaunchText(QString::fromUtf8(c.commandLine));
    EXPECT_EQ(parsed.ServerMode, c.serverMode);
    EXPECT_EQ(parsed.params.Host, QString::fromUtf8(c.host));
    EXPECT_EQ(parsed.params.Port, c.port);
    EXPECT_EQ(parsed.params.DefineName, QString::fromUtf8(c.defineName));
    EXPECT_EQ(parsed.params.UpLoadFileName, QString::fromUtf8(c.upload));
}

INSTANTIATE_TEST_SUITE_P(Lines, LaunchParse, ::testing::ValuesIn(kLines),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(LaunchParse, SurvivesAnyLengthAndContent)
{
    QString junk;
    for (int i = 0; i < 200000; ++i)
        junk += QChar(static_cast<char16_t>((i * 7919) % 0xD7FF + 1));
    const ParsedCommandLine parsed = parseLaunchText(junk + QStringLiteral(",getHost=x"));
    EXPECT_EQ(parsed.params.Host, QStringLiteral("x"));
    EXPECT_TRUE(parsed.ServerMode);
}

TEST(LaunchParse, LocalPathDropsEveryQuote)
{
    EXPECT_EQ(localPathFromCommandLine(QStringLiteral("\"/tmp/my file.xml\"")), QStringLiteral("/tmp/my file.xml"));
    EXPECT_EQ(localPathFromCommandLine(QStringLiteral("a\"b\"c")), QStringLiteral("abc"));
}

TEST(LaunchParse, ProcessWideStateFollowsTheLastParse)
{
    ParseCommandLine(QStringLiteral("getHost=h1,UserId=u,JsessionID=j"));
    EXPECT_TRUE(ServerMode());
    EXPECT_EQ(launchParams().UserId, QStringLiteral("u"));
    ParseCommandLine(QString());
    EXPECT_FALSE(ServerMode());
    EXPECT_EQ(launchParams().Port, 80);
}
} // namespace
