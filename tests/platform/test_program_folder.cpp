// The files the program reads come from its own folder first, then, for an installation, from
// the site's folder (/etc/plendor) and the shared data folder (PREFIX/share/plendor beside
// PREFIX/bin).
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct FolderCase {
    const char *name;
    bool installed, inProgramFolder, inSiteFolder, inSharedFolder;
    const char *foundIn;
};

const FolderCase kFolderCases[] = {
    {"ProgramFolderOnly", true, true, false, false, "bin"},
    {"SiteFolderOnly", true, false, true, false, "etc/plendor"},
    {"SharedFolderOnly", true, false, false, true, "share/plendor"},
    {"ProgramFolderWins", true, true, true, true, "bin"},
    {"SiteFolderBeatsTheSharedFolder", true, false, true, true, "etc/plendor"},
    {"NowhereGivesTheProgramFolderPath", true, false, false, false, "bin"},
    // Run from its build folder (no shared data folder), the program ignores the machine's /etc.
    {"BuildFolderIgnoresTheSiteFolder", false, false, true, false, "bin"},
};

class ProgramFile : public ::testing::TestWithParam<FolderCase> {
protected:
    QTemporaryDir prefix;
    void SetUp() override
    {
        QDir().mkpath(prefix.filePath("bin"));
        QDir().mkpath(prefix.filePath("etc/plendor"));
        if (GetParam().installed)
            QDir().mkpath(prefix.filePath("share/plendor"));
        platform::setProgramFolder(prefix.filePath("bin"));
        platform::setSiteConfigFolder(prefix.filePath("etc/plendor"));
        platform::setSharedDataFolder(prefix.filePath("share/plendor"));
    }
    void TearDown() override
    {
        platform::setProgramFolder(QString());
        platform::setSiteConfigFolder(QString());
        platform::setSharedDataFolder(QString());
    }
};

TEST_P(ProgramFile, IsLookedUpInTheProgramFolderThenTheSiteFolderThenTheSharedFolder)
{
    const FolderCase &c = GetParam();
    EXPECT_EQ(platform::isInstalledProgram(), c.installed);
    if (c.inProgramFolder) {
        writeFile(prefix.filePath("bin/KeyWord.txt"), "bin|B\r\n");
        QDir().mkpath(prefix.filePath("bin/highlighters"));
    }
    if (c.inSiteFolder) {
        writeFile(prefix.filePath("etc/plendor/KeyWord.txt"), "site|T\r\n");
        QDir().mkpath(prefix.filePath("etc/plendor/highlighters"));
    }
    if (c.inSharedFolder) {
        writeFile(prefix.filePath("share/plendor/KeyWord.txt"), "shared|S\r\n");
        QDir().mkpath(prefix.filePath("share/plendor/highlighters"));
    }
    const QString where = prefix.filePath(QString::fromLatin1(c.foundIn));
    EXPECT_EQ(platform::findProgramFile("KeyWord.txt"), where + "/KeyWord.txt");
    EXPECT_EQ(platform::findProgramFile("highlighters"), where + "/highlighters") << "a folder is found alike";

    // The escaping reads the rule file that was found.
    const KeyWordRules rules = KeyWordRules::fromProgramFolder();
    EXPECT_EQ(rules.present, QString::fromLatin1(c.foundIn) != QLatin1String("bin") || c.inProgramFolder);
    const EscapeOutcome escaped = EscapeDefineText(QStringLiteral("bin site shared"), rules);
    ASSERT_TRUE(escaped.ok());
    const QString found = QString::fromLatin1(c.foundIn);
    const char *expected = c.inProgramFolder                 ? "B site shared"
                           : found == QLatin1String("etc/plendor") ? "bin T shared"
                           : found == QLatin1String("share/plendor") ? "bin site S"
                                                                    : "bin site shared";
    EXPECT_EQ(escaped.text, QString::fromLatin1(expected));
}

INSTANTIATE_TEST_SUITE_P(Lines, ProgramFile, ::testing::ValuesIn(kFolderCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SharedDataFolder, IsBesideTheExecutablesFolderSoAMovedInstallationWorks)
{
    EXPECT_EQ(platform::sharedDataFolder(),
              QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/plendor"));
    platform::setSharedDataFolder("/elsewhere");
    EXPECT_EQ(platform::sharedDataFolder(), QStringLiteral("/elsewhere"));
    platform::setSharedDataFolder(QString());
}
} // namespace
