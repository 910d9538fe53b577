#pragma once
// plendor-cli's commands run in process on buffers, as the program runs them on its streams.

#include "CliCommands.h"

#include <QBuffer>
#include <QStringList>
#include <utility>

struct CliRun {
    int code;
    QByteArray out;
    QByteArray err;
    std::pair<int, QByteArray> codeAndOut() const { return {code, out}; }
};

inline CliRun runCliCommand(const QStringList &args, const QByteArray &input = {})
{
    QByteArray inBytes = input, outBytes, errBytes;
    QBuffer in(&inBytes), out(&outBytes), err(&errBytes);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = runCli(args, CliIo{&in, &out, &err});
    return {code, outBytes, errBytes};
}
