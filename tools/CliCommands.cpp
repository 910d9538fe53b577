#include "CliCommands.h"

#include "document/ByteForm.h"
#include "document/DefineEscaping.h"
#include "link/RequestToken.h"
#include "platform/AnsiCodec.h"
#include "platform/AtomicWrite.h"
#include "platform/ProgramFolder.h"

#include <QFile>

namespace {

const char kUsage[] =
    "usage: plendor-cli escape|unescape [INPUT] [-o OUTPUT] [--keywords FILE]\n"
    "       plendor-cli token [--user U] [--session S] [--time yyyyMMddhhmmss]\n"
    "       plendor-cli encipher [TEXT]   (standard input when TEXT is absent)\n";

struct Options {
    QString command;
    QString input;
    QString output;
    QString keywords;
    QString user;
    QString session;
    QString time;
    QString error;
};

Options parse(const QStringList &args)
{
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const auto value = [&](QString &target) {
            if (i + 1 >= args.size())
                o.error = QStringLiteral("%1 needs a value").arg(a);
            else
                target = args.at(++i);
        };
        if (a == QLatin1String("-o") || a == QLatin1String("--output"))
            value(o.output);
        else if (a == QLatin1String("--keywords"))
            value(o.keywords);
        else if (a == QLatin1String("--user"))
            value(o.user);
        else if (a == QLatin1String("--session"))
            value(o.session);
        else if (a == QLatin1String("--time"))
            value(o.time);
        else if (a.startsWith(QLatin1String("--")))
            o.error = QStringLiteral("unknown option %1").arg(a);
        else if (o.command.isEmpty())
            o.command = a;
        else if (o.input.isEmpty())
            o.input = a;
        else
            o.error = QStringLiteral("unexpected argument %1").arg(a);
    }
    return o;
}

void fail(const CliIo &io, const QString &message)
{
    io.err->write(QByteArray("plendor-cli: ") + message.toUtf8() + '\n');
}

bool readInput(const Options &o, const CliIo &io, QByteArray &bytes)
{
    if (o.input.isEmpty() || o.input == QLatin1String("-")) {
        bytes = io.in->readAll();
        return true;
    }
    QFile file(o.input);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(io, QStringLiteral("cannot read %1: %2").arg(o.input, file.errorString()));
        return false;
    }
    bytes = file.readAll();
    return true;
}

bool writeOutput(const Options &o, const CliIo &io, const QByteArray &bytes)
{
    if (o.output.isEmpty() || o.output == QLatin1String("-"))
        return io.out->write(bytes) == bytes.size();
    QString error;
    if (!platform::writeFileAtomically(o.output, bytes, &error)) {
        fail(io, QStringLiteral("cannot write %1: %2").arg(o.output, error));
        return false;
    }
    return true;
}

int convert(const Options &o, const CliIo &io)
{
    QByteArray bytes;
    if (!readInput(o, io, bytes))
        return 1;
    const platform::AnsiCodec codec;
    const QString text = codec.decode(bytes);
    QString result;
    if (o.command == QLatin1String("unescape")) {
        result = UnescapeDefineText(text);
    } else {
        const KeyWordRules rules = o.keywords.isEmpty() ? KeyWordRules::fromProgramFolder()
                                                        : KeyWordRules::load(o.keywords);
        if (!o.keywords.isEmpty() && !rules.present) {
            fail(io, QStringLiteral("cannot read rule file %1").arg(o.keywords));
            return 1;
        }
        const EscapeOutcome outcome = EscapeDefineText(text, rules);
        if (!outcome.ok()) {
            fail(io, outcome.error);
            return 1;
        }
        result = outcome.text;
    }
    const ByteForm out = toByteForm(result, codec);
    if (!out.lossless) {
        fail(io, QStringLiteral("the text holds characters the ANSI code page cannot represent: %1").arg(out.unencodable));
        return 1;
    }
    return writeOutput(o, io, out.bytes) ? 0 : 1;
}

int token(const Options &o, const CliIo &io)
{
    QDateTime time = QDateTime::currentDateTime();
    if (!o.time.isEmpty()) {
        time = QDateTime::fromString(o.time, QStringLiteral("yyyyMMddHHmmss"));
        if (!time.isValid() || o.time.size() != 14) {
            fail(io, QStringLiteral("--time wants 14 digits yyyyMMddhhmmss, not %1").arg(o.time));
            return 2;
        }
    }
    io.out->write(makeRequestToken(QString(), o.user, o.session, time).toLatin1() + '\n');
    return 0;
}

int encipher(const Options &o, const CliIo &io)
{
    QByteArray plain;
    if (o.input.isEmpty()) {
        plain = io.in->readAll();
    } else {
        bool lossless = true;
        plain = platform::AnsiCodec().encode(o.input, &lossless);
        if (!lossless) {
            fail(io, QStringLiteral("the text holds characters the ANSI code page cannot represent"));
            return 1;
        }
    }
    const std::optional<QString> hex = encipherToHex(plain);
    if (!hex) {
        fail(io, QStringLiteral("nothing to encipher"));
        return 1;
    }
    io.out->write(hex->toLatin1() + '\n');
    return 0;
}

} // namespace

int runCli(const QStringList &args, const CliIo &io)
{
    const Options o = parse(args);
    if (!o.error.isEmpty()) {
        fail(io, o.error);
        return 2;
    }
    if (o.command == QLatin1String("escape") || o.command == QLatin1String("unescape"))
        return convert(o, io);
    if (o.command == QLatin1String("token") && o.input.isEmpty())
        return token(o, io);
    if (o.command == QLatin1String("encipher"))
        return encipher(o, io);
    io.err->write(kUsage);
    return 2;
}
