#include "CliCommands.h"

#include <QApplication>
#include <cstring>

bool cliCommandDraws(int argc, const char *const *argv)
{
    // The limit may come before the command ("--max-input 1M html ..."), as runCli takes it.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--max-input") == 0) {
            ++i;
            continue;
        }
        if (std::strncmp(argv[i], "--max-input=", 12) == 0)
            continue;
        return std::strcmp(argv[i], "html") == 0 || std::strcmp(argv[i], "pdf") == 0;
    }
    return false;
}

std::unique_ptr<QCoreApplication> makeCliApplication(int &argc, char **argv)
{
    // html and pdf draw with the editing component, a widget; they never show it, so they run
    // offscreen unless told otherwise. The other commands need no display at all.
    if (!cliCommandDraws(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}
