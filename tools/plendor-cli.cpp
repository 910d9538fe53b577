#include "CliCommands.h"

#include "platform/AtomicWrite.h"

#include <QCoreApplication>
#include <QFile>
#include <unistd.h>

int main(int argc, char *argv[])
{
    // A closed pipe or a file-size limit must end in a message and an exit status, not a signal.
    platform::ignoreWriteSignals();
    const auto app = makeCliApplication(argc, argv);
    QFile in, out, err;
    // Unbuffered: every write reaches the system at once, so its failure is seen where it happens.
    in.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered);
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return runCli(QCoreApplication::arguments().mid(1), CliIo{&in, &out, &err});
}
