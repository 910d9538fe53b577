#include "app/LaunchParams.h"
#include "app/ProgramInfo.h"
#include "platform/SettingsStore.h"
#include "app/frmMain.h"
#include "platform/AtomicWrite.h"
#include "platform/Display.h"
#include "platform/Prompt.h"
#include "platform/QtTranslations.h"

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
    if (const std::string problem = platform::displayProblem(); !problem.empty()) {
        std::fprintf(stderr, "plendor: %s\n", problem.c_str());
        return 2;
    }
    platform::ignoreWriteSignals();
    QApplication app(argc, argv);
    platform::installQtChineseTranslations(app);
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
