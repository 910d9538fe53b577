#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TEST(SettingsStore, AbsentKeysGiveTheCallersDefault)
{
    QTemporaryDir dir;
    const QSettingsStore store(dir.path());
    EXPECT_EQ(store.read("Plendor", "Settings", "MainLeft", "1000"), QStringLiteral("1000"));
    EXPECT_EQ(store.readNumber("Plendor", "Settings", "MainWidth", 6500), 6500);
}

TEST(SettingsStore, ValuesRoundTripPerApplicationAndSection)
{
    QTemporaryDir dir;
    QSettingsStore store(dir.path());
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
}

TEST(SettingsStore, GarbageValuesFallBackToTheDefault)
{
    QTemporaryDir dir;
    QSettingsStore store(dir.path());
    for (const char *garbage : {"abc", "", "12px", "nan", "inf", "1e999"}) {
        store.write("Plendor", "Settings", "MainTop", garbage);
        EXPECT_EQ(store.readNumber("Plendor", "Settings", "MainTop", 1000), 1000) << garbage;
    }
}

TEST(SettingsStore, SurvivesACorruptFile)
{
    QTemporaryDir dir;
    const QSettingsStore store(dir.path());
    QFile file(store.fileFor("Plendor"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    static const char corrupt[] = "\xff\xfe[[[\n=\n[Settings\nMainLeft\n\0\0garbage";
    file.write(corrupt, sizeof corrupt - 1); // the embedded NULs included, the terminator not
    file.close();
    EXPECT_EQ(store.readNumber("Plendor", "Settings", "MainLeft", 1000), 1000);
}

TEST(SettingsStore, FileIsReadableByTheUserOnly)
{
    QTemporaryDir dir;
    QSettingsStore store(dir.path());
    store.write("Plendor", "Settings", "PassWord", "secret");
    const auto perms = QFile::permissions(store.fileFor("Plendor"));
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
}
} // namespace
