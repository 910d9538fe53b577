#pragma once
// `plendor --help` and `plendor --version`. They are answered only when one of them is the whole
// command line: the platform's comma-separated launch text, and a local path, are never options.

#include <QByteArray>
#include <QString>
#include <optional>

// The text to print on standard output, or nothing when the editor is to start.
std::optional<QByteArray> programInfoRequest(const QString &commandLine);

QByteArray programHelpText();
QByteArray programVersionText();
