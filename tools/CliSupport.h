#pragma once
// Small helpers of the batch commands that live in files of their own: arguments made of
// positional values and "-o OUT", one-line failures, whole-file reads and atomic writes.

#include "CliCommands.h"

#include <QByteArray>
#include <QStringList>

namespace cli {

struct Arguments {
    QStringList positional;
    QString output;
    QString error;
};

Arguments parseArguments(const QStringList &args);
// Writes "plendor-cli: message" and returns code.
int fail(const CliIo &io, const QString &message, int code = 1);
bool readFile(const CliIo &io, const QString &path, QByteArray &bytes);
// Standard output when path is empty or "-", otherwise the file through a temporary.
bool writeOutput(const CliIo &io, const QString &path, const QByteArray &bytes);

} // namespace cli
