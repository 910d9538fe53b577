#include "app/LaunchParams.h"
#include "app/SettingsStore.h"
#include "app/frmMain.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {
bool hasDisplay()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}
} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("plendor: no display found (set DISPLAY, e.g. run under Xvfb, or QT_QPA_PLATFORM=offscreen)\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plendor"));

    const auto settings = makeDefaultSettingsStore();
    platform::QtPrompt prompt;
    frmMain window(*settings, prompt, rawCommandLine(QApplication::arguments()));
    prompt.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
