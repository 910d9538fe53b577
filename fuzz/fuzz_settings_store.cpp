// The per-user settings file: whatever it holds, the window position and the dialogs' options
// read as a text or fall back to the default, and numbers are always finite.

#include "FuzzSupport.h"
#include "platform/SettingsStore.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::unique_ptr<QTemporaryDir> scratch = fuzz::newScratchFolder();
    const QTemporaryDir &folder = *scratch;
    static qint64 run = 0;
    const QString app = QStringLiteral("Plendor");
    QSettingsStore store(folder.path());
    {
        QFile file(store.fileFor(app));
        fuzz::expect("write the settings file", file.open(QIODevice::WriteOnly) &&
                                                    file.write(reinterpret_cast<const char *>(data), size) ==
                                                        static_cast<qint64>(size));
        // The settings layer keeps a file it has read until its size or time changes.
        file.setFileTime(QDateTime::fromSecsSinceEpoch(++run), QFileDevice::FileModificationTime);
    }
    const double left = store.readNumber(app, QStringLiteral("Settings"), QStringLiteral("MainLeft"), 1000);
    fuzz::expect("a number read is finite", std::isfinite(left));
    store.read(app, QStringLiteral("ScintillaClass"), QStringLiteral("FOptUp"), QStringLiteral("False"));
    store.read(app, QStringLiteral("frmMain"), QStringLiteral("Layout"), QString());

    // A value written is read back whatever else the file holds.
    const QString value = QStringLiteral("a=b;[c]\\d\"e\" 查找");
    store.write(app, QStringLiteral("Settings"), QStringLiteral("Login"), value);
    fuzz::expectEqual("a written value reads back", store.read(app, QStringLiteral("settings"), QStringLiteral("LOGIN"), QString()), value);
    QFile::remove(store.fileFor(app));
    return 0;
}
