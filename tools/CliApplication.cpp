#include "CliCommands.h"

#include <QApplication>
#include <cstring>

std::unique_ptr<QCoreApplication> makeCliApplication(int &argc, char **argv)
{
    // html and pdf draw with the editing component, a widget; they never show it, so they run
    // offscreen unless told otherwise. The other commands need no display at all.
    const bool draws = argc > 1 && (std::strcmp(argv[1], "html") == 0 || std::strcmp(argv[1], "pdf") == 0);
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}
