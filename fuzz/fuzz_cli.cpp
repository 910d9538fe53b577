// plendor-cli's arguments and inputs. The input is the arguments separated by NUL bytes; the
// last piece is both standard input and the file "f" (so "--keywords f" reads it as a rule file).
// Every path stays inside a scratch folder, emptied after each run; it is also the program
// folder, so no rule file from elsewhere is read.

#include "FuzzSupport.h"
#include "CliCommands.h"
#include "platform/ProgramFolder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

std::unique_ptr<QTemporaryDir> scratch;

void clearScratch()
{
    QDir dir(scratch->path());
    for (const QString &name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!QFile::remove(dir.filePath(name)))
            QDir(dir.filePath(name)).removeRecursively();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    scratch = fuzz::newScratchFolder();
    QDir::setCurrent(scratch->path());
    platform::setProgramFolder(scratch->path());
    platform::setSharedDataFolder(scratch->path()); // nor from an installation's data folder
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QList<QByteArray> pieces = fuzz::bytes(data, size).split('\0');
    const QByteArray last = pieces.takeLast();
    QStringList args;
    for (const QByteArray &piece : pieces) {
        QString arg = QString::fromUtf8(piece);
        arg.replace(u'/', u'_'); // no path leaves the scratch folder
        if (arg == QLatin1String(".."))
            arg = QStringLiteral("__");
        args << arg;
    }
    {
        QFile file(QStringLiteral("f"));
        fuzz::expect("write the input file", file.open(QIODevice::WriteOnly) && file.write(last) == last.size());
    }

    QByteArray inBytes = last, outBytes, errBytes;
    QBuffer in(&inBytes), out(&outBytes), err(&errBytes);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = runCli(args, CliIo{&in, &out, &err});

    fuzz::expect("the exit code is 0, 1 or 2", code == 0 || code == 1 || code == 2);
    fuzz::expect("a failure says why on standard error", code == 0 || !errBytes.isEmpty());
    fuzz::expect("success writes nothing on standard error", code != 0 || errBytes.isEmpty());
    fuzz::expect("standard error ends its message with a line end", errBytes.isEmpty() || errBytes.endsWith('\n'));
    clearScratch();
    return 0;
}
