// plendor-cli check: the define-file checker over stored files, one line per problem in the form
// compilers use, so that editors, grep and version-control hooks can read it.

#include "CliCommands.h"
#include "CliInputLimit.h"

#include "document/DefineCheck.h"
#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <new>

namespace {

enum Exit { kClean = 0, kErrorsFound = 1, kUnreadable = 2 };

constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

void say(QIODevice &device, const QString &line) { device.write(line.toUtf8() + '\n'); }

// A stored file's readable form as UTF-8, the form the editor checks, and what its bytes say
// about their encoding.
struct ReadableFile {
    QByteArray utf8;
    bool undecodable = false; // some bytes are no characters of the code page
    bool validUtf8 = true;
    bool nonAscii = false;
};

void addPiece(QByteArray piece, const platform::AnsiCodec &codec, ReadableFile &file)
{
    const bool gbk = codec.codePage() == 936;
    const bool readable = gbk ? firstInvalidGbkByte(piece) < 0 : codec.decodeChecked(piece).firstInvalidByte < 0;
    file.undecodable = file.undecodable || !readable;
    if (file.validUtf8) {
        const bool ascii = std::all_of(piece.cbegin(), piece.cend(), [](char c) { return (c & 0x80) == 0; });
        file.nonAscii = file.nonAscii || !ascii;
        if (!ascii) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString ignored = utf8.decode(piece);
            file.validUtf8 = !utf8.hasError();
        }
    }
    // GBK never hides an entity's characters inside a two-byte character, so valid GBK is
    // unescaped as bytes; anything else is decoded first.
    if (gbk && readable) {
        unescapeDefineInPlace(piece);
        file.utf8 += codec.decode(piece).toUtf8();
    } else {
        file.utf8 += UnescapeDefineText(codec.decode(piece)).toUtf8();
    }
}

// Reads a piece at a time: a piece ends after a line end, which no character and no entity
// spans, so the stored bytes never need to exist whole beside the readable form.
bool readReadable(QIODevice &device, qsizetype expectedSize, const platform::AnsiCodec &codec, ReadableFile &file,
                  QString &error, qint64 limit, const QString &what)
{
    qint64 read = 0;
    if (expectedSize > 0)
        file.utf8.reserve(expectedSize);
    QByteArray carry;
    for (;;) {
        const QByteArray chunk = device.read(kPieceBytes);
        const auto *fileDevice = qobject_cast<const QFileDevice *>(&device);
        if (fileDevice && fileDevice->error() != QFileDevice::NoError) {
            error = fileDevice->errorString();
            return false;
        }
        if (chunk.isEmpty())
            break;
        read += chunk.size();
        cli::checkInputSize(read, limit, what);
        carry += chunk;
        const qsizetype cut = carry.lastIndexOf('\n') + 1;
        if (cut > 0) {
            addPiece(carry.first(cut), codec, file);
            carry.remove(0, cut);
        }
    }
    if (!carry.isEmpty())
        addPiece(std::move(carry), codec, file);
    return true;
}

bool readFile(const QString &path, const CliIo &io, const platform::AnsiCodec &codec, ReadableFile &readable,
              QString &error)
{
    if (path == QLatin1String("-"))
        return readReadable(*io.in, -1, codec, readable, error, io.maxInput, QStringLiteral("standard input"));
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("is a folder");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    return readReadable(file, file.size(), codec, readable, error, io.maxInput, path);
}

// Checks one file and writes its problems; false when standard output cannot take them.
bool checkOne(const QString &shownPath, const ReadableFile &file, const DefineCheckOptions &base, const CliIo &io,
              int &exit)
{
    DefineCheckOptions options = base;
    QByteArray out;
    if (file.undecodable && file.validUtf8 && file.nonAscii) {
        // One warning for the whole file, not one for every character it misreads.
        out += (shownPath + QStringLiteral(":1:1: warning: 文件像是 UTF-8 编码,但将按 GBK 读取和保存")).toUtf8() + '\n';
        options.replacement = DefineCheckOptions::Replacement::AlreadyReported;
    } else if (file.undecodable) {
        options.replacement = DefineCheckOptions::Replacement::UndecodableBytes;
    }
    const DefineCheckResult result = checkDefineText(file.utf8, options);
    for (const DefineProblem &problem : result.problems)
        out += (shownPath + QLatin1Char(':') + problemLine(problem)).toUtf8() + '\n';
    if (result.omitted() > 0)
        out += (shownPath + QStringLiteral(": note: ") + omittedProblemsNote(result)).toUtf8() + '\n';
    if (io.out->write(out) != out.size()) {
        say(*io.err, QStringLiteral("plendor-cli: cannot write standard output: %1").arg(io.out->errorString()));
        return false;
    }
    if (result.errors > 0 && exit == kClean)
        exit = kErrorsFound;
    return true;
}

} // namespace

int runCheck(const QStringList &args, const CliIo &io)
{
    QStringList files;
    QString keywords;
    bool options = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (!options || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-'))) {
            files << a;
        } else if (a == QLatin1String("--")) {
            options = false;
        } else if (a == QLatin1String("--keywords") && i + 1 < args.size()) {
            keywords = args.at(++i);
        } else {
            say(*io.err, QStringLiteral("plendor-cli: %1").arg(a == QLatin1String("--keywords")
                                                                    ? QStringLiteral("--keywords needs a value")
                                                                    : QStringLiteral("unknown option %1").arg(a)));
            return kUnreadable;
        }
    }
    if (files.isEmpty()) {
        say(*io.err, QStringLiteral("usage: plendor-cli check FILE... [--keywords FILE] (FILE - reads standard input)"));
        return kUnreadable;
    }
    if (files.count(QStringLiteral("-")) > 1) {
        say(*io.err, QStringLiteral("plendor-cli: standard input can be checked only once"));
        return kUnreadable;
    }
    const KeyWordRules rules = keywords.isEmpty() ? KeyWordRules::fromProgramFolder() : KeyWordRules::load(keywords);
    if (!keywords.isEmpty() && !rules.present) {
        say(*io.err, QStringLiteral("plendor-cli: cannot read rule file %1").arg(keywords));
        return kUnreadable;
    }

    int exit = kClean;
    // The rule file's own problems, once for all the files it is used with.
    const std::vector<RuleFileProblem> ruleProblems = checkRuleFile(rules);
    if (!ruleProblems.empty()) {
        QByteArray out;
        const QString rulePath = rules.path.isEmpty() ? QStringLiteral("KeyWord.txt") : rules.path;
        for (const RuleFileProblem &problem : ruleProblems)
            out += QStringLiteral("%1:%2: error: %3").arg(rulePath).arg(problem.line).arg(problem.message).toUtf8() + '\n';
        io.out->write(out);
        exit = kErrorsFound;
    }

    const platform::AnsiCodec codec;
    DefineCheckOptions base;
    base.rules = &rules;
    base.reportRuleFile = false;
    base.codePage = codec.codePage();
    for (const QString &path : files) {
        const QString shown = path == QLatin1String("-") ? QStringLiteral("<stdin>") : path;
        try {
            ReadableFile readable;
            QString error;
            if (!readFile(path, io, codec, readable, error)) {
                say(*io.err, QStringLiteral("plendor-cli: cannot read %1: %2").arg(shown, error));
                exit = kUnreadable;
                continue;
            }
            if (!checkOne(shown, readable, base, io, exit))
                return kUnreadable;
        } catch (const std::bad_alloc &) {
            say(*io.err, QStringLiteral("plendor-cli: not enough memory to check %1").arg(shown));
            exit = kUnreadable;
        }
    }
    return exit;
}
