// Saving through a temporary keeps the file's identity: links, owner, group, mode bits.
#include "platform/AtomicWrite.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

QStringList leftovers(const QTemporaryDir &dir, const QStringList &expected)
{
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : expected)
        names.removeAll(name);
    return names;
}

TEST(AtomicWrite, HardLinksSymlinksAndSpecialBitsSurviveASave)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("bill.xml");
    writeFile(file, "old");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(dir.filePath("other.xml")).constData()), 0);
    ASSERT_EQ(::symlink("bill.xml", QFile::encodeName(dir.filePath("link.xml")).constData()), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 02640), 0);
    const struct stat before = statOf(file);

    QString error;
    ASSERT_TRUE(platform::writeFileAtomically(dir.filePath("link.xml"), "new through the link", &error))
        << error.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath("link.xml")).isSymLink()) << "the link stays a link";
    ASSERT_TRUE(platform::writeFileAtomically(file, "new", &error)) << error.toStdString();

    const struct stat after = statOf(file);
    EXPECT_EQ(readFile(dir.filePath("other.xml")), QByteArray("new")) << "the other name sees the new text";
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mode & 07777, 02640u) << "set-group-id and the permission bits are kept";
    EXPECT_TRUE(leftovers(dir, {"bill.xml", "other.xml", "link.xml"}).isEmpty());
}

TEST(AtomicWrite, OwnerAndGroupAreKeptWhereTheProcessMaySetThem)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a file to someone else";
    QTemporaryDir dir;
    const QString file = dir.filePath("owned.xml");
    writeFile(file, "old");
    ASSERT_EQ(::chown(QFile::encodeName(file).constData(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 02664), 0);
    ASSERT_TRUE(platform::writeFileAtomically(file, "new"));
    const struct stat after = statOf(file);
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 8765u);
    EXPECT_EQ(after.st_mode & 07777, 02664u) << "changing the owner must not cost the set-group-id bit";
    EXPECT_EQ(readFile(file), QByteArray("new"));
}

TEST(AtomicWrite, FailuresNameTheirCauseAndLeaveNothingBehind)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(platform::writeFileAtomically(dir.path(), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(platform::writeFileAtomically(dir.filePath("missing/x.xml"), "x", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("No such file"))) << error.toStdString();
    EXPECT_TRUE(leftovers(dir, {}).isEmpty());

    // A new file gets the mode every new file gets (0666 less the umask), not the temporary's.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(platform::writeFileAtomically(dir.filePath("new.xml"), "x"));
    ::umask(mask);
    EXPECT_EQ(statOf(dir.filePath("new.xml")).st_mode & 0777, 0644u);
}
} // namespace
