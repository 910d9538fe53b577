// plendor-cli highlighter compile SRC -o OUT | dump FILE [-o OUT]: between the readable source of
// a highlighter and the binary file the editor loads; compile(dump(file)) gives the file's bytes.

#include "CliCommands.h"
#include "CliSupport.h"

#include "highlight/HighlighterRecord.h"
#include "highlight/HighlighterSource.h"

int runHighlighterCommand(const QStringList &args, const CliIo &io)
{
    const cli::Arguments a = cli::parseArguments(args);
    if (!a.error.isEmpty())
        return cli::fail(io, a.error, 2);
    if (a.positional.size() != 2 || (a.positional[0] != QLatin1String("compile") && a.positional[0] != QLatin1String("dump")))
        return cli::fail(io, QStringLiteral("usage: plendor-cli highlighter compile SRC -o OUT | dump FILE [-o OUT]"), 2);
    QByteArray input;
    if (!cli::readFile(io, a.positional[1], input))
        return 1;
    if (a.positional[0] == QLatin1String("dump")) {
        HighlighterRecord numbers;
        HighlighterTextBytes texts;
        readHighlighterRaw(input, numbers, texts);
        return cli::writeOutput(io, a.output, highlighterSourceText(numbers, texts)) ? 0 : 1;
    }
    if (a.output.isEmpty())
        return cli::fail(io, QStringLiteral("highlighter compile needs -o OUT"), 2);
    const HighlighterSource source = parseHighlighterSource(input);
    if (!source.ok)
        return cli::fail(io, QStringLiteral("%1: %2").arg(a.positional[1], source.error));
    QByteArray bytes;
    if (!writeHighlighterRecord(source.numbers, source.texts, bytes))
        return cli::fail(io, QStringLiteral("%1: a text is longer than 65535 bytes").arg(a.positional[1]));
    return cli::writeOutput(io, a.output, bytes) ? 0 : 1;
}
