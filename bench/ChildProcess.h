#pragma once
// Runs a program as a child process and reads what the system counted for it: its wall time and
// its peak resident memory (wait4). A fresh process per measurement keeps peaks from mixing.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

struct ChildRun {
    int exitCode = -1; // -1 when it did not exit normally
    double seconds = 0;
    qint64 peakBytes = 0;
    QByteArray out; // its standard output
};

ChildRun runChild(const QString &program, const QStringList &arguments);

// Runs work in a forked copy of this process and tells whether it succeeded. Inputs are built
// this way so that this process stays small: the system may count the memory a process held
// when it started a child towards that child's peak.
bool runForked(const std::function<bool()> &work);

// A program built beside this one.
QString siblingProgram(const QString &name);
