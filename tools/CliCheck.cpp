// plendor-cli check: the define-file checker over stored files, one line per problem in the form
// compilers use, so that editors, grep and version-control hooks can read it.

#include "CliCommands.h"

#include "document/DefineCheck.h"
#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

enum Exit { kClean = 0, kErrorsFound = 1, kUnreadable = 2 };

void say(QIODevice &device, const QString &line) { device.write(line.toUtf8() + '\n'); }

// The readable form of a stored file as UTF-8, the form the editor checks.
QByteArray readableUtf8(QByteArray stored, const platform::AnsiCodec &codec)
{
    // GBK never hides an entity's characters inside a two-byte character, so valid GBK is
    // unescaped as bytes; anything else is decoded first.
    if (codec.codePage() == 936 && firstInvalidGbkByte(stored) < 0) {
        unescapeDefineInPlace(stored);
        return codec.decode(stored).toUtf8();
    }
    return UnescapeDefineText(codec.decode(stored)).toUtf8();
}

// Where the first byte lies that the code page cannot read, or -1.
qsizetype firstUnreadableByte(const QByteArray &stored, const platform::AnsiCodec &codec)
{
    return codec.codePage() == 936 ? firstInvalidGbkByte(stored) : codec.decodeChecked(stored).firstInvalidByte;
}

// A problem line for such a byte, at its place in the readable form: unescaping keeps the lines.
QString unreadableByteLine(const QByteArray &stored, qsizetype offset, const platform::AnsiCodec &codec)
{
    const QByteArray before = stored.first(offset);
    qsizetype line = 1;
    for (qsizetype i = 0; i < before.size(); ++i)
        line += before[i] == '\n' || (before[i] == '\r' && !(i + 1 < stored.size() && stored[i + 1] == '\n'));
    const qsizetype lineStart = std::max(before.lastIndexOf('\n'), before.lastIndexOf('\r')) + 1;
    const qsizetype column =
        UnescapeDefineText(codec.decode(before.sliced(lineStart))).toUcs4().size() + 1;
    return QStringLiteral("%1:%2: warning: 文件中有 %3 编码无法识别的字节(第 %4 个字节),保存后这些字节将被改变")
        .arg(line)
        .arg(column)
        .arg(QString::fromLatin1(codec.name()))
        .arg(offset + 1);
}

bool readFile(const QString &path, QByteArray &bytes, QString &error)
{
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("is a folder");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

int runCheck(const QStringList &args, const CliIo &io)
{
    QStringList files;
    QString keywords;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--keywords") && i + 1 < args.size()) {
            keywords = args.at(++i);
        } else if (a.startsWith(QLatin1String("--"))) {
            say(*io.err, QStringLiteral("plendor-cli: %1").arg(a == QLatin1String("--keywords")
                                                                    ? QStringLiteral("--keywords needs a value")
                                                                    : QStringLiteral("unknown option %1").arg(a)));
            return kUnreadable;
        } else {
            files << a;
        }
    }
    if (files.isEmpty()) {
        say(*io.err, QStringLiteral("usage: plendor-cli check FILE... [--keywords FILE]"));
        return kUnreadable;
    }
    const KeyWordRules rules = keywords.isEmpty() ? KeyWordRules::fromProgramFolder() : KeyWordRules::load(keywords);
    if (!keywords.isEmpty() && !rules.present) {
        say(*io.err, QStringLiteral("plendor-cli: cannot read rule file %1").arg(keywords));
        return kUnreadable;
    }

    const platform::AnsiCodec codec;
    DefineCheckOptions options;
    options.rules = &rules;
    options.codePage = codec.codePage();
    int exit = kClean;
    for (const QString &path : files) {
        QByteArray stored;
        QString error;
        if (!readFile(path, stored, error)) {
            say(*io.err, QStringLiteral("plendor-cli: cannot read %1: %2").arg(path, error));
            exit = kUnreadable;
            continue;
        }
        QByteArray out;
        const qsizetype unreadable = firstUnreadableByte(stored, codec);
        if (unreadable >= 0)
            out += (path + QLatin1Char(':') + unreadableByteLine(stored, unreadable, codec)).toUtf8() + '\n';
        const QByteArray readable = readableUtf8(std::move(stored), codec);
        const DefineCheckResult result = checkDefineText(readable, options);
        for (const DefineProblem &problem : result.problems)
            out += (path + QLatin1Char(':') + problemLine(problem)).toUtf8() + '\n';
        if (result.omitted() > 0)
            out += (path + QStringLiteral(": note: ") + omittedProblemsNote(result)).toUtf8() + '\n';
        if (io.out->write(out) != out.size()) {
            say(*io.err, QStringLiteral("plendor-cli: cannot write standard output: %1").arg(io.out->errorString()));
            return kUnreadable;
        }
        if (result.errors > 0 && exit == kClean)
            exit = kErrorsFound;
    }
    return exit;
}
