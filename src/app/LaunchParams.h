#pragma once
// The values of the command line and the mode they select.

#include "link/ServletSession.h"

#include <QString>
#include <cstdint>

struct LaunchParams {
    QString Host;
    std::int32_t Port = 0;
    QString UpLoadFileName;
    QString OpenFileName;
    QString DefineName;
    QString UserId;
    QString JsessionID;
};

struct ParsedCommandLine {
    LaunchParams params;
    bool ServerMode = false;
};

// Pure parse of the raw command line text (split at ",", key before the first "=").
ParsedCommandLine parseLaunchText(const QString &commandLine);

// Fills the process-wide LaunchParams and ServerMode from the raw command line.
void ParseCommandLine(const QString &commandLine);

// Process-wide launch values, written once at start.
const LaunchParams &launchParams();
bool ServerMode();
void setLaunchState(const ParsedCommandLine &state);

// The servlet's address and the caller's identity, as the launch values give them.
ServletSession servletSessionFrom(const LaunchParams &params);

// The local-mode path: the command line with every double quote removed.
QString localPathFromCommandLine(const QString &commandLine);

// The raw command line of this process, re-joined the way the platform passes it.
QString rawCommandLine(const QStringList &arguments);
