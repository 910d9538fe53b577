#include "CliCommands.h"
#include "CliInputLimit.h"
#include "CliHelp.h"

#include "document/ByteForm.h"
#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "link/RequestToken.h"
#include "platform/AnsiCodec.h"
#include "platform/AtomicWrite.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

namespace {

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

// Reads a device to its end; false, with the cause, when a read fails (a folder, an I/O error).
// Past the limit it throws cli::InputTooLarge.
bool readDevice(QIODevice &device, QByteArray &bytes, QString &error, qint64 limit, const QString &what)
{
    bytes.clear();
    char piece[1 << 16];
    for (;;) {
        const qint64 n = device.read(piece, sizeof piece);
        if (n < 0) {
            error = device.errorString();
            return false;
        }
        if (n == 0)
            return true;
        cli::checkInputSize(bytes.size() + n, limit, what);
        bytes.append(piece, n);
    }
}

bool readInput(const Options &o, const CliIo &io, QByteArray &bytes)
{
    QString error;
    if (o.input.isEmpty() || o.input == QLatin1String("-")) {
        if (readDevice(*io.in, bytes, error, io.maxInput, QStringLiteral("standard input")))
            return true;
        fail(io, QStringLiteral("cannot read standard input: %1").arg(error));
        return false;
    }
    QFile file(o.input);
    if (QFileInfo(o.input).isDir()) {
        error = QStringLiteral("is a folder");
    } else if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
    } else if (readDevice(file, bytes, error, io.maxInput, o.input)) {
        return true;
    }
    fail(io, QStringLiteral("cannot read %1: %2").arg(o.input, error));
    return false;
}

// Standard output: every byte written and flushed, or a message naming the cause.
bool writeStandardOutput(const CliIo &io, const QByteArray &bytes)
{
    const qint64 written = io.out->write(bytes);
    auto *file = qobject_cast<QFileDevice *>(io.out);
    const bool flushed = !file || file->flush();
    if (written == bytes.size() && flushed)
        return true;
    QString cause = io.out->errorString();
    if (written >= 0 && written < bytes.size() && (cause.isEmpty() || cause.startsWith(QLatin1String("Unknown"))))
        cause = QStringLiteral("short write (%1 of %2 bytes)").arg(written).arg(bytes.size());
    fail(io, QStringLiteral("cannot write standard output: %1").arg(cause));
    return false;
}

bool writeOutput(const Options &o, const CliIo &io, const QByteArray &bytes)
{
    if (o.output.isEmpty() || o.output == QLatin1String("-"))
        return writeStandardOutput(io, bytes);
    QString error;
    if (!platform::writeFileAtomically(o.output, bytes, &error)) {
        fail(io, QStringLiteral("cannot write %1: %2").arg(o.output, error));
        return false;
    }
    return true;
}

int failUnreadable(const CliIo &io, qsizetype offset)
{
    fail(io, QStringLiteral("the input holds bytes that are not valid in the ANSI code page (first at byte offset %1)")
                 .arg(offset));
    return 1;
}

// On the decoded text: rules are patterns over characters, and another code page may hide the
// bytes of "&", "<", ">" or a quote inside its characters.
int convertDecoded(const Options &o, const CliIo &io, const platform::AnsiCodec &codec, QByteArray bytes,
                   const KeyWordRules &rules)
{
    platform::AnsiCodec::Decoded decoded = codec.decodeChecked(bytes);
    if (decoded.firstInvalidByte >= 0)
        return failUnreadable(io, decoded.firstInvalidByte);
    bytes = QByteArray();
    QString result;
    if (o.command == QLatin1String("unescape")) {
        result = UnescapeDefineText(decoded.text);
    } else {
        const EscapeOutcome outcome = EscapeDefineText(decoded.text, rules);
        if (!outcome.ok()) {
            fail(io, outcome.error);
            return 1;
        }
        result = outcome.text;
    }
    decoded.text = QString();
    const ByteForm out = toByteForm(result, codec);
    if (!out.lossless) {
        fail(io, QStringLiteral("the text holds characters the ANSI code page cannot represent: %1").arg(out.unencodable));
        return 1;
    }
    return writeOutput(o, io, out.bytes) ? 0 : 1;
}

int convert(const Options &o, const CliIo &io)
{
    QByteArray bytes;
    if (!readInput(o, io, bytes))
        return 1;
    const platform::AnsiCodec codec;
    // GBK never hides an entity's characters inside a two-byte character, so the fixed
    // conversions work on its bytes; checking them is enough, no decoding is needed.
    const bool gbk = codec.codePage() == 936;
    if (gbk) {
        const qsizetype invalid = firstInvalidGbkByte(bytes);
        if (invalid >= 0)
            return failUnreadable(io, invalid);
    }
    const bool unescape = o.command == QLatin1String("unescape");
    KeyWordRules rules;
    if (!unescape) {
        rules = o.keywords.isEmpty() ? KeyWordRules::fromProgramFolder() : KeyWordRules::load(o.keywords);
        if (!o.keywords.isEmpty() && !rules.present) {
            fail(io, QStringLiteral("cannot read rule file %1").arg(o.keywords));
            return 1;
        }
    }
    if (!gbk || rules.present)
        return convertDecoded(o, io, codec, std::move(bytes), rules);
    if (unescape)
        unescapeDefineInPlace(bytes);
    else
        bytes = escapeDefineGbk(bytes);
    return writeOutput(o, io, bytes) ? 0 : 1;
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
    return writeStandardOutput(io, requestTokenAt(QString(), o.user, o.session, time).toLatin1() + '\n') ? 0 : 1;
}

int encipher(const Options &o, const CliIo &io)
{
    QByteArray plain;
    if (o.input.isEmpty()) {
        QString error;
        if (!readDevice(*io.in, plain, error, io.maxInput, QStringLiteral("standard input"))) {
            fail(io, QStringLiteral("cannot read standard input: %1").arg(error));
            return 1;
        }
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
    return writeStandardOutput(io, hex->toLatin1() + '\n') ? 0 : 1;
}

} // namespace

namespace {

int dispatch(const QStringList &args, const CliIo &io)
{
    const CliInfoRequest info = cliInfoRequest(args);
    if (info.handled)
        return writeStandardOutput(io, info.text) ? 0 : 1;
    if (!args.isEmpty() && args.first() == QLatin1String("check"))
        return runCheck(args.mid(1), io);
    if (!args.isEmpty() && args.first() == QLatin1String("highlighter"))
        return runHighlighterCommand(args.mid(1), io);
    if (!args.isEmpty() && args.first() == QLatin1String("html"))
        return runHtmlCommand(args.mid(1), io);
    if (!args.isEmpty() && args.first() == QLatin1String("pdf"))
        return runPdfCommand(args.mid(1), io);
    const Options o = parse(args);
    const bool unknownCommand = !o.command.isEmpty() && !findCliCommand(o.command);
    if (unknownCommand) {
        fail(io, QStringLiteral("unknown command %1 (plendor-cli --help lists the commands)").arg(o.command));
        return 2;
    }
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
    io.err->write(cliUsageLines());
    return 2;
}

} // namespace

int runCli(const QStringList &arguments, const CliIo &caller)
{
    // Whatever goes wrong below ends in one line and exit 2, never in an uncaught exception.
    try {
        QStringList args = arguments;
        CliIo io = caller;
        const QString badLimit = cli::takeMaxInput(args, io.maxInput);
        if (!badLimit.isEmpty()) {
            fail(io, badLimit);
            return 2;
        }
        return dispatch(args, io);
    } catch (const cli::InputTooLarge &tooLarge) {
        fail(caller, QString::fromStdString(tooLarge.what()));
    } catch (const std::bad_alloc &) {
        fail(caller, QStringLiteral("not enough memory"));
    } catch (const std::exception &e) {
        fail(caller, QString::fromLocal8Bit(e.what()));
    }
    return 2;
}
