// The files the program reads come from its own folder first, then from the shared data folder
// of an installation (PREFIX/share/plendor beside PREFIX/bin).
#include "document/DefineEscaping.h"
#include "platform/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct FolderCase { const char *name; bool inProgramFolder, inSharedFolder; const char *foundIn; };

const FolderCase kFolderCases[] = {
    {"ProgramFolderOnly", true, false, "bin"},
    {"SharedFolderOnly", false, true, "share/plendor"},
    {"ProgramFolderWins", true, true, "bin"},
    {"NowhereGivesTheProgramFolderPath", false, false, "bin"},
};

class ProgramFile : public ::testing::TestWithParam<FolderCase> {
protected:
    QTemporaryDir prefix;
    void SetUp() override
    {
        QDir().mkpath(prefix.filePath("bin"));
        QDir().mkpath(prefix.filePath("share/plendor"));
        platform::setProgramFolder(prefix.filePath("bin"));
        platform::setSharedDataFolder(prefix.filePath("share/plendor"));
    }
    void TearDown() override
    {
        platform::setProgramFolder(QString());
        platform::setSharedDataFolder(QString());
    }
};

TEST_P(ProgramFile, IsLookedUpInTheProgramFolderThenTheSharedFolder)
{
    const FolderCase &c = GetParam();
    if (c.inProgramFolder) {
        writeFile(prefix.filePath("bin/KeyWord.txt"), "bin|B\r\n");
        QDir().mkpath(prefix.filePath("bin/highlighters"));
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
    EXPECT_EQ(rules.present, c.inProgramFolder || c.inSharedFolder);
    const EscapeOutcome escaped = EscapeDefineText(QStringLiteral("bin shared"), rules);
    ASSERT_TRUE(escaped.ok());
    const char *expected = c.inProgramFolder ? "B shared" : c.inSharedFolder ? "bin S" : "bin shared";
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
