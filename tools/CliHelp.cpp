#include "CliHelp.h"

#include "platform/Version.h"

#include <QStringList>
#include <array>

namespace {

// Rows in the order --help lists them.
constexpr std::array kCommands{
    CliCommandHelp{
        "escape", "[INPUT] [-o OUTPUT] [--keywords FILE]",
        "Converts the readable form of a define file into the stored form: the SQL between the "
        "tags is XML-escaped while the tags stay markup, and the rules of a rule file are applied. "
        "The rule file is FILE when --keywords is given, otherwise KeyWord.txt in the program's "
        "folder, or else in the shared data folder PREFIX/share/plendor; without one no rules apply. "
        "INPUT and OUTPUT default to standard input and output (\"-\" names them too). Bytes are "
        "in the ANSI code page (GBK). An OUTPUT file is written whole or not at all; a device or FIFO "
        "is written straight through."},
    CliCommandHelp{
        "unescape", "[INPUT] [-o OUTPUT]",
        "Converts the stored form of a define file into the readable form: every entity is "
        "resolved. INPUT and OUTPUT as for escape."},
    CliCommandHelp{
        "token", "[--user U] [--session S] [--time yyyyMMddhhmmss]",
        "Prints the request token that the report servlet expects for user U and web session S at "
        "the given time (now when --time is absent), in upper-case hexadecimal."},
    CliCommandHelp{
        "encipher", "[TEXT]",
        "Enciphers TEXT, or standard input when TEXT is absent, the way the editor enciphers the "
        "SQL it sends to the report servlet, and prints it in upper-case hexadecimal."},
    CliCommandHelp{
        "highlighter", "compile SRC -o OUT | dump FILE [-o OUT]",
        "compile turns a readable highlighter source (sections [highlighter] and [style N], colours "
        "as #RRGGBB) into the binary highlighter file the editor loads; dump writes a binary file's "
        "readable form (standard output by default). Compiling a dump gives the same bytes."},
    CliCommandHelp{
        "html", "IN [-o OUT]",
        "Writes a stored define file's readable form as an HTML page highlighted with the shipped "
        "\"SQL\" highlighter, in the ANSI code page (GBK). OUT defaults to standard output. Exactly "
        "one IN: none or several is a wrong command line (exit 2)."},
    CliCommandHelp{
        "pdf", "IN -o OUT",
        "Prints a stored define file's readable form, highlighted with the shipped \"SQL\" "
        "highlighter, to the PDF file OUT with one-inch margins. Needs no display. Exactly one IN: none "
        "or several is a wrong command line (exit 2)."},
    CliCommandHelp{
        "check", "FILE... [--keywords FILE]",
        "Checks stored define files (- reads standard input; after -- every argument is a file): "
        "reads each file's readable form as the define language and as a save would store it, and "
        "prints one line per problem, FILE:LINE:COLUMN: error|warning: message, in UTF-8 (lines as "
        "in the file, columns in characters of the readable line); a rule file's own problems come "
        "once, as RULEFILE:LINE. Exits 0 when no file has an error, 1 when one has, 2 when a file "
        "cannot be read or memory runs out. --keywords as for escape."},
};

QByteArray utf8(const QString &text) { return text.toUtf8(); }

bool isHelp(const QString &arg) { return arg == QLatin1String("--help") || arg == QLatin1String("-h"); }

} // namespace

std::span<const CliCommandHelp> cliCommands() { return kCommands; }

const CliCommandHelp *findCliCommand(const QString &name)
{
    for (const CliCommandHelp &command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString wrapParagraph(const QString &text, int indent, int width)
{
    const QString margin(indent, QLatin1Char(' '));
    QString result;
    QString line = margin;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (line.size() > indent && line.size() + 1 + word.size() > width) {
            result += line + QLatin1Char('\n');
            line = margin;
        }
        if (line.size() > indent)
            line += QLatin1Char(' ');
        line += word;
    }
    if (line.size() > indent)
        result += line + QLatin1Char('\n');
    return result;
}

QByteArray cliUsageLines()
{
    QString text;
    for (const CliCommandHelp &command : kCommands) {
        text += (text.isEmpty() ? QStringLiteral("Usage: ") : QStringLiteral("  or:  "));
        text += QStringLiteral("plendor-cli %1 %2\n").arg(QLatin1String(command.name), QLatin1String(command.synopsis));
    }
    text += QStringLiteral("  or:  plendor-cli [COMMAND] --help\n  or:  plendor-cli --version\n");
    return utf8(text);
}

QByteArray cliHelpText()
{
    QString text = QString::fromUtf8(cliUsageLines());
    text += QLatin1Char('\n');
    text += wrapParagraph(QStringLiteral("Does in batch what the Plendor editor does to a define file, on the same "
                                         "code: converts between the readable and the stored form, and makes "
                                         "the values the report servlet expects."),
                          0);
    text += QStringLiteral("\nCommands:\n");
    for (const CliCommandHelp &command : kCommands) {
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(command.name), QLatin1String(command.synopsis));
        text += wrapParagraph(QString::fromUtf8(command.description), 6);
    }
    text += QStringLiteral("\nExit status:\n");
    text += wrapParagraph(QStringLiteral("0 on success; 1 when the work failed, with a one-line message on "
                                         "standard error; 2 for a wrong command line, an input larger than "
                                         "--max-input, or too little memory."),
                          2);
    text += QStringLiteral("\nOptions:\n"
                           "  -h, --help     show this help; after a command, that command's help\n"
                           "  --version      show the version\n"
                           "  --max-input SIZE  read at most SIZE bytes of an input (500M, 2G: the default)\n");
    return utf8(text);
}

QByteArray cliCommandHelpText(const CliCommandHelp &command)
{
    QString text = QStringLiteral("Usage: plendor-cli %1 %2\n\n").arg(QLatin1String(command.name),
                                                                      QLatin1String(command.synopsis));
    text += wrapParagraph(QString::fromUtf8(command.description), 0);
    return utf8(text);
}

QByteArray cliVersionText()
{
    return utf8(QStringLiteral("plendor-cli %1\n").arg(platform::programVersion()));
}

CliInfoRequest cliInfoRequest(const QStringList &args)
{
    if (args.isEmpty())
        return {};
    if (isHelp(args.first()))
        return {true, cliHelpText()};
    if (args.first() == QLatin1String("--version"))
        return {true, cliVersionText()};
    // "COMMAND ... --help": the command's help, whatever else stands beside it.
    const CliCommandHelp *command = findCliCommand(args.first());
    if (command && args.mid(1).contains(QStringLiteral("--help")))
        return {true, cliCommandHelpText(*command)};
    return {};
}
