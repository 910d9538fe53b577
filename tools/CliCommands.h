#pragma once
// The batch commands of plendor-cli, each taking its arguments and returning an exit code.

#include <QStringList>

class QIODevice;

struct CliIo {
    QIODevice *in;
    QIODevice *out;
    QIODevice *err;
};

int runCli(const QStringList &args, const CliIo &io);
// check FILE... [--keywords FILE]: 0 without errors, 1 with errors, 2 when a file cannot be read.
int runCheck(const QStringList &args, const CliIo &io);
