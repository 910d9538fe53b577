// Every kind of output path through the one writer: what is kept, what is written through, what
// is refused, and what is left when a write fails or is killed half way.
#include "platform/AtomicWrite.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray enc(const QString &path) { return QFile::encodeName(path); }

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(enc(path).constData(), &st), 0) << path.toStdString();
    return st;
}

struct stat lstatOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(enc(path).constData(), &st), 0) << path.toStdString();
    return st;
}

// Names in the folder beyond the expected ones: temporaries or copies left behind.
QStringList leftovers(const QString &folder, const QStringList &expected)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : expected)
        names.removeAll(name);
    return names;
}

void hardLink(const QString &from, const QString &to) { ASSERT_EQ(::link(enc(from).constData(), enc(to).constData()), 0); }

bool makeDevice(const QString &path, unsigned major, unsigned minor)
{
    return ::mknod(enc(path).constData(), S_IFCHR | 0666, makedev(major, minor)) == 0;
}

const QByteArray kOld = "<defineSqls>old text</defineSqls>\r\n";

// A text larger than a small file system holds, so that a write of it runs out of room.
QByteArray largeText() { return QByteArray(512 * 1024, 'n'); }

// A tmpfs of 64 KiB mounted on a folder of its own, unmounted at the end; only the superuser
// may mount one.
class SmallFileSystem {
public:
    SmallFileSystem()
    {
        m_mounted = m_dir.isValid() && ::geteuid() == 0 &&
                    ::mount("tmpfs", enc(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(enc(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A file-size limit for this process while it lives: writes beyond it fail (EFBIG) as they
// would on a full disk, without needing the superuser.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limited{bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

struct WriteCase {
    const char *name;
    // Makes the output in the folder and gives its path; an empty path skips the row.
    std::function<QString(const QString &folder)> prepare;
    QByteArray bytes;
    bool succeeds;
    std::function<void(const QString &folder, const QString &path, const QString &error)> check;
};

class Writes : public ::testing::TestWithParam<WriteCase> {};

TEST_P(Writes, KeepWhatTheOutputIs)
{
    const WriteCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = c.prepare(dir.path());
    if (path.isEmpty())
        GTEST_SKIP() << "needs the superuser (mknod, mount or chown)";
    platform::ignoreWriteSignals();
    QString error;
    EXPECT_EQ(platform::writeFileAtomically(path, c.bytes, &error), c.succeeds) << error.toStdString();
    if (!c.succeeds)
        EXPECT_FALSE(error.isEmpty());
    c.check(dir.path(), path, error);
}

const WriteCase kWrites[] = {
    {"RegularFileKeepsModeOwnerAndGroup",
     [](const QString &folder) {
         const QString file = folder + "/bill.xml";
         writeFile(file, kOld);
         EXPECT_EQ(::chmod(enc(file).constData(), 02640), 0);
         if (::geteuid() == 0)
             EXPECT_EQ(::chown(enc(file).constData(), 4321, 8765), 0);
         return file;
     },
     "new", true,
     [](const QString &folder, const QString &path, const QString &) {
         EXPECT_EQ(readFile(path), QByteArray("new"));
         const struct stat st = statOf(path);
         EXPECT_EQ(st.st_mode & 07777, 02640u) << "set-group-id and the permission bits are kept";
         if (::geteuid() == 0) {
             EXPECT_EQ(st.st_uid, 4321u);
             EXPECT_EQ(st.st_gid, 8765u);
         }
         EXPECT_TRUE(leftovers(folder, {"bill.xml"}).isEmpty());
     }},
    {"HardLinkedFileKeepsItsLinks",
     [](const QString &folder) {
         writeFile(folder + "/bill.xml", kOld);
         hardLink(folder + "/bill.xml", folder + "/other.xml");
         return folder + "/bill.xml";
     },
     "new", true,
     [](const QString &folder, const QString &path, const QString &) {
         EXPECT_EQ(readFile(folder + "/other.xml"), QByteArray("new")) << "the other name sees the new text";
         EXPECT_EQ(statOf(path).st_nlink, 2u);
         EXPECT_TRUE(leftovers(folder, {"bill.xml", "other.xml"}).isEmpty()) << "the copy of the old text is dropped";
     }},
    {"SymbolicLinkIsFollowedAndStays",
     [](const QString &folder) {
         writeFile(folder + "/bill.xml", kOld);
         EXPECT_EQ(::symlink("bill.xml", enc(folder + "/link.xml").constData()), 0);
         return folder + "/link.xml";
     },
     "new through the link", true,
     [](const QString &folder, const QString &path, const QString &) {
         EXPECT_TRUE(S_ISLNK(lstatOf(path).st_mode)) << "the link stays a link";
         EXPECT_EQ(readFile(folder + "/bill.xml"), QByteArray("new through the link"));
         EXPECT_TRUE(leftovers(folder, {"bill.xml", "link.xml"}).isEmpty());
     }},
    {"DanglingSymbolicLinkIsRefused",
     [](const QString &folder) {
         EXPECT_EQ(::symlink("nowhere/bill.xml", enc(folder + "/link.xml").constData()), 0);
         return folder + "/link.xml";
     },
     "new", false,
     [](const QString &folder, const QString &path, const QString &error) {
         EXPECT_TRUE(error.contains("symbolic link")) << error.toStdString();
         EXPECT_TRUE(S_ISLNK(lstatOf(path).st_mode));
         EXPECT_TRUE(leftovers(folder, {"link.xml"}).isEmpty());
     }},
    {"CharacterDeviceStaysADevice",
     [](const QString &folder) { return makeDevice(folder + "/null", 1, 3) ? folder + "/null" : QString(); },
     "into the void", true,
     [](const QString &folder, const QString &path, const QString &) {
         const struct stat st = lstatOf(path);
         EXPECT_TRUE(S_ISCHR(st.st_mode));
         EXPECT_EQ(st.st_rdev, makedev(1, 3));
         EXPECT_TRUE(leftovers(folder, {"null"}).isEmpty());
     }},
    {"FullDeviceIsAnErrorAndStaysADevice",
     [](const QString &folder) { return makeDevice(folder + "/full", 1, 7) ? folder + "/full" : QString(); },
     "no room", false,
     [](const QString &, const QString &path, const QString &error) {
         EXPECT_TRUE(error.contains("No space")) << error.toStdString();
         EXPECT_TRUE(S_ISCHR(lstatOf(path).st_mode));
     }},
    {"MissingFolderIsAnError",
     [](const QString &folder) { return folder + "/missing/bill.xml"; },
     "new", false,
     [](const QString &folder, const QString &, const QString &error) {
         EXPECT_TRUE(error.contains("No such file")) << error.toStdString();
         EXPECT_TRUE(leftovers(folder, {}).isEmpty());
     }},
    {"StaleTemporariesAreRemovedButNotOneInUse",
     [](const QString &folder) {
         writeFile(folder + "/bill.xml", kOld);
         writeFile(folder + "/.bill.xml.plendor-killed", QByteArray(4096, 'k'));
         writeFile(folder + "/.other.xml.plendor-notours", "another file's");
         return folder + "/bill.xml";
     },
     "new", true,
     [](const QString &folder, const QString &path, const QString &) {
         EXPECT_EQ(readFile(path), QByteArray("new"));
         EXPECT_EQ(leftovers(folder, {"bill.xml"}), QStringList{".other.xml.plendor-notours"});
     }},
};

INSTANTIATE_TEST_SUITE_P(Outputs, Writes, ::testing::ValuesIn(kWrites),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(WriteFailures, HardLinkedFileOverAFileSizeLimitKeepsItsOldTextOnBothNames)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("bill.xml");
    writeFile(file, kOld);
    hardLink(file, dir.filePath("other.xml"));
    platform::ignoreWriteSignals();
    QString error;
    {
        const FileSizeLimit limit(16 * 1024);
        EXPECT_FALSE(platform::writeFileAtomically(file, largeText(), &error));
    }
    EXPECT_TRUE(error.contains("old text was put back")) << error.toStdString();
    EXPECT_EQ(readFile(file), kOld);
    EXPECT_EQ(readFile(dir.filePath("other.xml")), kOld);
    EXPECT_EQ(statOf(file).st_nlink, 2u);
    EXPECT_TRUE(leftovers(dir.path(), {"bill.xml", "other.xml"}).isEmpty());
}

TEST(WriteFailures, HardLinkedFileOnAFullFileSystemKeepsItsOldTextOnBothNames)
{
    const SmallFileSystem fs;
    if (!fs.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs the superuser";
    const QString file = fs.path() + "/bill.xml";
    writeFile(file, kOld);
    hardLink(file, fs.path() + "/other.xml");
    QString error;
    EXPECT_FALSE(platform::writeFileAtomically(file, largeText(), &error));
    EXPECT_TRUE(error.contains("No space") && error.contains("put back")) << error.toStdString();
    EXPECT_EQ(readFile(file), kOld);
    EXPECT_EQ(readFile(fs.path() + "/other.xml"), kOld);
    EXPECT_TRUE(leftovers(fs.path(), {"bill.xml", "other.xml"}).isEmpty());

    // A plain file on the full file system: the old one stays, no temporary is left.
    writeFile(fs.path() + "/single.xml", kOld);
    EXPECT_FALSE(platform::writeFileAtomically(fs.path() + "/single.xml", largeText(), &error));
    EXPECT_EQ(readFile(fs.path() + "/single.xml"), kOld);
    EXPECT_TRUE(leftovers(fs.path(), {"bill.xml", "other.xml", "single.xml"}).isEmpty());
}

TEST(WriteThrough, AFifosReaderGetsEveryByte)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(enc(fifo).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] {
        QFile in(fifo);
        if (in.open(QIODevice::ReadOnly))
            received = in.readAll();
    });
    const QByteArray bytes = largeText() + "end";
    QString error;
    EXPECT_TRUE(platform::writeFileAtomically(fifo, bytes, &error)) << error.toStdString();
    reader.join();
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(S_ISFIFO(lstatOf(fifo).st_mode));
    EXPECT_TRUE(leftovers(dir.path(), {"pipe"}).isEmpty());
}

// A save killed half way through a linked file: the copy of the old text is found afterwards,
// put back on request, and put back before the next save too.
TEST(InterruptedSaves, TheOldTextOfAKilledInPlaceSaveIsNotLost)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("bill.xml");
    writeFile(file, kOld);
    hardLink(file, dir.filePath("other.xml"));
    const auto killedSave = [&file] {
        const pid_t child = ::fork();
        if (child == 0) {
            platform::AtomicFile out(file);
            if (out.open(QIODevice::WriteOnly))
                out.write("half of the new te");
            ::_exit(0); // as a kill: no commit, no clean-up
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    };

    killedSave();
    EXPECT_EQ(readFile(file), QByteArray("half of the new te") + kOld.mid(18)) << "what a killed save leaves";
    const QString copy = platform::interruptedSaveCopy(file);
    ASSERT_FALSE(copy.isEmpty());
    EXPECT_EQ(readFile(copy), kOld);
    QString error;
    EXPECT_TRUE(platform::restoreInterruptedSave(file, &error)) << error.toStdString();
    EXPECT_EQ(readFile(dir.filePath("other.xml")), kOld);
    EXPECT_TRUE(platform::interruptedSaveCopy(file).isEmpty());

    killedSave();
    ASSERT_FALSE(platform::interruptedSaveCopy(file).isEmpty());
    EXPECT_TRUE(platform::writeFileAtomically(file, "new", &error)) << error.toStdString();
    EXPECT_EQ(readFile(dir.filePath("other.xml")), QByteArray("new"));
    EXPECT_TRUE(leftovers(dir.path(), {"bill.xml", "other.xml"}).isEmpty());
}

TEST(InterruptedSaves, ATemporaryHeldByARunningSaveIsNotTouched)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("bill.xml");
    writeFile(file, kOld);
    platform::AtomicFile running(file);
    ASSERT_TRUE(running.open(QIODevice::WriteOnly));
    running.write("first");
    QString error;
    EXPECT_TRUE(platform::writeFileAtomically(file, "second", &error)) << error.toStdString();
    EXPECT_TRUE(running.commit()) << running.errorString().toStdString();
    EXPECT_EQ(readFile(file), QByteArray("first"));
    EXPECT_TRUE(leftovers(dir.path(), {"bill.xml"}).isEmpty());
}

TEST(AtomicWrite, ANewFileGetsTheModeEveryNewFileGets)
{
    QTemporaryDir dir;
    const mode_t mask = ::umask(022);
    EXPECT_TRUE(platform::writeFileAtomically(dir.filePath("new.xml"), "x"));
    ::umask(mask);
    EXPECT_EQ(statOf(dir.filePath("new.xml")).st_mode & 0777, 0644u);
    QString error;
    EXPECT_FALSE(platform::writeFileAtomically(dir.path(), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
