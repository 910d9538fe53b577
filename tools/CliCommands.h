#pragma once
// The batch commands of plendor-cli, each taking its arguments and returning an exit code.

#include <QStringList>
#include <QtGlobal>
#include <memory>

class QCoreApplication;
class QIODevice;

struct CliIo {
    QIODevice *in;
    QIODevice *out;
    QIODevice *err;
    qint64 maxInput = qint64(2) << 30; // bytes of one input a command reads at most
};

int runCli(const QStringList &args, const CliIo &io);
// check FILE... [--keywords FILE]: 0 without errors, 1 with errors, 2 when a file cannot be read.
int runCheck(const QStringList &args, const CliIo &io);

// Whether the command named on the command line (after any input limit) draws: html and pdf.
bool cliCommandDraws(int argc, const char *const *argv);
// The application object: a QApplication, offscreen, only for the commands that draw.
std::unique_ptr<QCoreApplication> makeCliApplication(int &argc, char **argv);
// highlighter compile|dump, html, pdf; each takes the arguments after its name.
int runHighlighterCommand(const QStringList &args, const CliIo &io);
int runHtmlCommand(const QStringList &args, const CliIo &io);
int runPdfCommand(const QStringList &args, const CliIo &io);
