// The recovery folder on real files: the file's form, which editor owns a file, and what a
// corrupt or foreign file gets.

#include "recovery/OrphanedRecoveries.h"
#include "recovery/RecoverySession.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace recovery;

namespace {
unsigned modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

RecoveryRecord sample()
{
    RecoveryRecord r;
    r.owner = QStringLiteral("123-0000abcd");
    r.pid = 123;
    r.writtenAt = QDateTime::fromString(QStringLiteral("2026-12-07T10:11:12.000Z"), Qt::ISODateWithMs);
    r.localPath = QStringLiteral("/home/u/定义.xml");
    r.text = QByteArray("<define name=\"查询\">a<b\n") + QByteArray("\0tail", 5);
    return r;
}

struct CorruptRow {
    const char *name;
    std::function<QByteArray(QByteArray)> damage;
};

class RecoveryFileForm : public ::testing::TestWithParam<CorruptRow> {};

TEST(RecoveryFile, RoundTripKeepsTextBytesPathAndLaunchValues)
{
    RecoveryRecord local = sample();
    const auto back = parseRecovery(serializeRecovery(local));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, local.text) << "NUL bytes and all";
    EXPECT_EQ(back->localPath, local.localPath);
    EXPECT_EQ(back->writtenAt, local.writtenAt);

    RecoveryRecord server = sample();
    server.localPath.clear();
    server.server = {{QStringLiteral("Host"), QStringLiteral("h")}, {QStringLiteral("UpLoadFileName"), QStringLiteral("报表.xml")}};
    const auto serverBack = parseRecovery(serializeRecovery(server));
    ASSERT_TRUE(serverBack);
    EXPECT_EQ(serverBack->server, server.server);
}

TEST_P(RecoveryFileForm, IsRefusedWithAReason)
{
    QString why;
    EXPECT_FALSE(parseRecovery(GetParam().damage(serializeRecovery(sample())), &why));
    EXPECT_FALSE(why.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, RecoveryFileForm,
    ::testing::Values(
        CorruptRow{"Empty", [](QByteArray) { return QByteArray(); }},
        CorruptRow{"TextCutShort", [](QByteArray b) { return b.chopped(1); }},
        CorruptRow{"TextGrown", [](QByteArray b) { return b + "x"; }},
        CorruptRow{"ForeignHeader", [](QByteArray b) { return b.replace("PLENDOR-RECOVERY 1", "PLENDOR-RECOVERY 9"); }},
        CorruptRow{"HeaderNotJson", [](QByteArray b) { return b.replace("{\"localPath", "[\"localPath"); }},
        CorruptRow{"NoHeaderEnd", [](QByteArray) { return QByteArray("PLENDOR-RECOVERY 1\n{\"owner\":"); }},
        CorruptRow{"OwnerMissing", [](QByteArray b) { return b.replace("\"owner\":\"123-0000abcd\"", "\"owner\":\"\""); }},
        CorruptRow{"LocalAndServerAtOnce",
                   [](QByteArray b) { return b.replace("\"server\":{}", "\"server\":{\"Host\":\"h\"}"); }}),
    [](const auto &info) { return std::string(info.param.name); });

struct RecoveryFolderTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder() const { return dir.filePath(QStringLiteral("recovery")); }
    QStringList logged;
    std::vector<OrphanedRecovery> claim()
    {
        return claimOrphans(folder(), [this](const QString &line) { logged << line; });
    }
    // A file as an editor that was killed leaves it: no one holds its lock.
    void leaveOrphan(const QString &token, const QByteArray &text)
    {
        ASSERT_TRUE(ensurePrivateFolder(folder()));
        RecoveryRecord r = sample();
        r.owner = token;
        r.text = text;
        writeFile(QDir(folder()).filePath(recoveryFileName(token)), serializeRecovery(r));
        writeFile(QDir(folder()).filePath(lockFileName(token)), {});
    }
};

TEST_F(RecoveryFolderTest, ARunningEditorsFileIsNeverTakenAndGoesWithItsCleanEnd)
{
    auto running = RecoverySession::start(folder());
    ASSERT_TRUE(running);
    RecoveryRecord r;
    r.text = "unsaved";
    running->save(r);
    running->waitIdle();
    ASSERT_TRUE(QFileInfo::exists(running->filePath()));
    EXPECT_EQ(modeOf(running->filePath()), 0600);
    EXPECT_EQ(modeOf(folder()), 0700);
    EXPECT_TRUE(claim().empty()) << "its lock is held";

    const QString file = running->filePath();
    running.reset();
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "file and lock both gone";
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(RecoveryFolderTest, AGoneEditorsFileIsClaimedByOneStartingEditorOnly)
{
    leaveOrphan(QStringLiteral("4242-00c0ffee"), "lost edit");
    std::vector<OrphanedRecovery> first = claim();
    ASSERT_EQ(first.size(), 1U);
    EXPECT_EQ(first[0].record.text, QByteArray("lost edit"));
    EXPECT_TRUE(claim().empty()) << "a second editor starting meanwhile leaves it alone";
    first[0].remove();
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(logged.isEmpty());
}

TEST_F(RecoveryFolderTest, CorruptAndForeignFilesAreLoggedOnceEachAndLeftAlone)
{
    leaveOrphan(QStringLiteral("7-0000beef"), "good");
    ASSERT_TRUE(ensurePrivateFolder(folder()));
    writeFile(QDir(folder()).filePath(QStringLiteral("8-0000dead.recovery")), "PLENDOR-RECOVERY 1\n{broken");
    writeFile(QDir(folder()).filePath(QStringLiteral("notes.txt")), "mine");
    // A file copied under another editor's name is not that editor's.
    writeFile(QDir(folder()).filePath(QStringLiteral("9-0000feed.recovery")),
              readFile(QDir(folder()).filePath(QStringLiteral("7-0000beef.recovery"))));

    const std::vector<OrphanedRecovery> found = claim();
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].record.text, QByteArray("good"));
    EXPECT_EQ(logged.size(), 3) << logged.join('\n').toStdString();
    for (const char *name : {"8-0000dead.recovery", "notes.txt", "9-0000feed.recovery"})
        EXPECT_TRUE(QFileInfo::exists(QDir(folder()).filePath(QLatin1String(name)))) << name;
}

TEST_F(RecoveryFolderTest, AFolderThatCannotBeMadeIsSaidWithItsCause)
{
    writeFile(dir.filePath(QStringLiteral("plain")), "a file where the folder would go");
    QString error;
    EXPECT_FALSE(RecoverySession::start(dir.filePath(QStringLiteral("plain/recovery")), &error));
    EXPECT_FALSE(error.isEmpty());
}
} // namespace
