#pragma once
// The help of plendor-cli: one row per command. `plendor-cli --help`, `plendor-cli COMMAND --help`
// and the manual page (help2man reads --help) are all built from the same rows, so adding a
// command to the help is adding its row to kCommands in CliHelp.cpp.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <span>

struct CliCommandHelp {
    const char *name;        // "escape"
    const char *synopsis;    // the arguments after the name: "[INPUT] [-o OUTPUT] [--keywords FILE]"
    const char *description; // one paragraph, unwrapped
};

std::span<const CliCommandHelp> cliCommands();
const CliCommandHelp *findCliCommand(const QString &name); // nullptr for an unknown name

QByteArray cliHelpText();                                // the whole help, for --help
QByteArray cliCommandHelpText(const CliCommandHelp &command);
QByteArray cliUsageLines();                              // one "usage:" line per command
QByteArray cliVersionText();                             // "plendor-cli 0.1" and a line more

// What the leading arguments ask for before any command runs: help or the version on standard
// output (exit 0). Empty when the arguments are for a command.
struct CliInfoRequest {
    bool handled = false;
    QByteArray text;
};
CliInfoRequest cliInfoRequest(const QStringList &args);

// Wraps one paragraph to `width` columns, every line indented by `indent` spaces.
QString wrapParagraph(const QString &text, int indent, int width = 79);
