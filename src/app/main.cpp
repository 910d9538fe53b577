#include "app/LaunchParams.h"
#include "platform/SettingsStore.h"
#include "app/frmMain.h"
#include "platform/AtomicWrite.h"
#include "platform/Display.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (!platform::hasDisplay()) {
        std::fputs("plendor: no display found (set DISPLAY, e.g. run under Xvfb, or QT_QPA_PLATFORM=offscreen)\n",
                   stderr);
        return 2;
    }
    platform::ignoreWriteSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plendor"));

    const auto settings = makeDefaultSettingsStore();
    platform::QtPrompt prompt;
    frmMain window(*settings, prompt, rawCommandLine(QApplication::arguments()));
    prompt.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
