#include "CliSupport.h"
#include "CliInputLimit.h"

#include "platform/AtomicWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

namespace cli {

Arguments parseArguments(const QStringList &args)
{
    Arguments a;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (i + 1 >= args.size())
                a.error = QStringLiteral("%1 needs a value").arg(arg);
            else
                a.output = args.at(++i);
        } else if (arg.startsWith(QLatin1String("--"))) {
            a.error = QStringLiteral("unknown option %1").arg(arg);
        } else {
            a.positional << arg;
        }
    }
    return a;
}

int fail(const CliIo &io, const QString &message, int code)
{
    io.err->write(QByteArray("plendor-cli: ") + message.toUtf8() + '\n');
    return code;
}

bool readFile(const CliIo &io, const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        fail(io, QStringLiteral("cannot read %1: is a folder").arg(path));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fail(io, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    bytes.clear();
    for (;;) {
        const QByteArray piece = file.read(qint64(1) << 20);
        if (piece.isEmpty())
            break;
        checkInputSize(bytes.size() + piece.size(), io.maxInput, path);
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError) {
        fail(io, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool writeOutput(const CliIo &io, const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty() || path == QLatin1String("-")) {
        if (io.out->write(bytes) == bytes.size())
            return true;
        fail(io, QStringLiteral("cannot write standard output: %1").arg(io.out->errorString()));
        return false;
    }
    QString error;
    if (platform::writeFileAtomically(path, bytes, &error))
        return true;
    fail(io, QStringLiteral("cannot write %1: %2").arg(path, error));
    return false;
}

} // namespace cli
