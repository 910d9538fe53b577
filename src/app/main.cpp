#include "app/LaunchParams.h"
#include "app/ProgramInfo.h"
#include "platform/SettingsStore.h"
#include "app/frmMain.h"
#include "platform/AtomicWrite.h"
#include "platform/Display.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char *argv[])
{
    // --help and --version answer without a display, before anything else starts.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto info = programInfoRequest(rawCommandLine(arguments))) {
        const bool written = std::fwrite(info->constData(), 1, info->size(), stdout) == std::size_t(info->size());
        return std::fflush(stdout) == 0 && written ? 0 : 1;
    }
    if (!platform::hasDisplay()) {
        std::fputs("plendor: no display found (set DISPLAY, e.g. run under Xvfb, or QT_QPA_PLATFORM=offscreen)\n",
                   stderr);
        return 2;
    }
    platform::ignoreWriteSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plendor"));
    QGuiApplication::setDesktopFileName(QStringLiteral("plendor")); // the installed menu entry
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("plendor"))); // the installed icon, if any

    const auto settings = makeDefaultSettingsStore();
    platform::QtPrompt prompt;
    frmMain window(*settings, prompt, rawCommandLine(QApplication::arguments()));
    prompt.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
