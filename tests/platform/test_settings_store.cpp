#include "platform/SettingsStore.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct SettingsStore : ::testing::Test {
    QTemporaryDir dir;
    QSettingsStore store{dir.path()};
};

TEST_F(SettingsStore, ValuesRoundTripPerApplicationAndSection)
{
    EXPECT_EQ(store.read("Plendor", "Settings", "MainLeft", "1000"), QStringLiteral("1000"));
    EXPECT_EQ(store.readNumber("Plendor", "Settings", "MainWidth", 6500), 6500);
    store.write("Plendor", "Settings", "PassWord", QStringLiteral("p;w=d 密码"));
    store.write("ScintillaClass", "Settings", "FOptUp", "True");
    store.writeNumber("Plendor", "Settings", "MainLeft", 1234.5);

    const QSettingsStore reread(dir.path());
    EXPECT_EQ(reread.read("Plendor", "Settings", "PassWord", ""), QStringLiteral("p;w=d 密码"));
    EXPECT_EQ(reread.read("ScintillaClass", "Settings", "FOptUp", ""), QStringLiteral("True"));
    EXPECT_EQ(reread.read("Plendor", "Settings", "FOptUp", "absent"), QStringLiteral("absent"));
    EXPECT_DOUBLE_EQ(reread.readNumber("Plendor", "Settings", "MainLeft", 0), 1234.5);
    // Names compare without regard to case, as the layout store relies on.
    EXPECT_EQ(reread.read("plendor", "SETTINGS", "password", ""), QStringLiteral("p;w=d 密码"));
    const auto perms = QFile::permissions(store.fileFor("Plendor"));
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther)) << "it holds a password";
}

// Written through the one writer: a settings file kept elsewhere through a link stays linked.
TEST_F(SettingsStore, ALinkedSettingsFileStaysLinked)
{
    const QString kept = dir.filePath("kept.ini");
    writeFile(kept, "[settings]\nmainleft=1\n");
    ASSERT_TRUE(QFile::link(kept, store.fileFor("Plendor")));
    store.write("Plendor", "Settings", "MainLeft", "2");
    EXPECT_TRUE(QFileInfo(store.fileFor("Plendor")).isSymLink());
    EXPECT_TRUE(readFile(kept).contains("mainleft=2")) << readFile(kept).toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary left";
}

TEST_F(SettingsStore, GarbageValuesAndACorruptFileGiveTheDefault)
{
    for (const char *garbage : {"abc", "", "12px", "nan", "inf", "1e999"}) {
        store.write("Plendor", "Settings", "MainTop", garbage);
        EXPECT_EQ(store.readNumber("Plendor", "Settings", "MainTop", 1000), 1000) << garbage;
    }
    static const char corrupt[] = "\xff\xfe[[[\n=\n[Settings\nMainLeft\n\0\0garbage";
    writeFile(store.fileFor("Plendor"), QByteArray(corrupt, sizeof corrupt - 1)); // the NULs, not the terminator
    EXPECT_EQ(QSettingsStore(dir.path()).readNumber("Plendor", "Settings", "MainLeft", 1000), 1000);
}
TEST_F(SettingsStore, WhatIsNoSettingsFileIsLeftAloneOrSetAside)
{
    // Larger than any settings file: set aside once, with a notice, and the defaults used.
    QByteArray huge = "[settings]\nmainleft=5\n";
    huge += QByteArray(QSettingsStore::kLargestFile, '#');
    writeFile(store.fileFor("Plendor"), huge);
    EXPECT_EQ(store.read("Plendor", "Settings", "MainLeft", "1000"), QStringLiteral("1000"));
    const QStringList notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(store.fileFor("Plendor")));
    EXPECT_TRUE(store.takeNotices().isEmpty()) << "each notice once";
    const QStringList aside = QDir(dir.path()).entryList({"plendor.ini.*.too-large"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(QFileInfo(dir.filePath(aside.first())).size(), huge.size()) << "kept whole, for the user to look at";
    store.write("Plendor", "Settings", "MainLeft", "7");
    EXPECT_EQ(store.read("Plendor", "Settings", "MainLeft", ""), QStringLiteral("7"));

    // A folder where the file belongs keeps its mode and stays a folder.
    const QString folder = store.fileFor("ScintillaClass");
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto mode = QFile::permissions(folder);
    store.write("ScintillaClass", "Settings", "FOptUp", "True");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFile::permissions(folder), mode);
    EXPECT_EQ(store.read("ScintillaClass", "Settings", "FOptUp", "absent"), QStringLiteral("absent"));
}
} // namespace
