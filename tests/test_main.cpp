// One QApplication for every test: the editing component needs a GUI application, offscreen.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("PLENDOR_SETTINGS_DIR", settingsDir.path().toUtf8());
    // The user's data folder (a find history whose program folder cannot be written) is private too.
    QTemporaryDir dataDir;
    qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
