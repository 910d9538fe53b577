#include "app/LaunchParams.h"

#include <QStringList>
#include <limits>

namespace {
ParsedCommandLine &state()
{
    static ParsedCommandLine launch;
    return launch;
}

// A port that is not a whole number in the 32-bit range counts as 0 (and so as 80).
std::int32_t toPort(const QString &value)
{
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(number);
}
} // namespace

ParsedCommandLine parseLaunchText(const QString &commandLine)
{
    ParsedCommandLine parsed;
    LaunchParams &p = parsed.params;
    const QStringList pieces = commandLine.split(QLatin1Char(','), Qt::KeepEmptyParts, Qt::CaseSensitive);
    for (const QString &piece : pieces) {
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = piece.left(eq);
        const QString value = piece.mid(eq + 1);
        if (key == QLatin1String("getHost"))
            p.Host = value;
        else if (key == QLatin1String("getPort"))
            p.Port = toPort(value);
        else if (key == QLatin1String("UpLoadFileName"))
            p.UpLoadFileName = value;
        else if (key == QLatin1String("OpenFileName"))
            p.OpenFileName = value;
        else if (key == QLatin1String("DefineName"))
            p.DefineName = value;
        else if (key == QLatin1String("UserId"))
            p.UserId = value;
        else if (key == QLatin1String("JsessionID"))
            p.JsessionID = value;
    }
    if (p.Port == 0)
        p.Port = 80;
    parsed.ServerMode = !p.Host.isEmpty();
    return parsed;
}

void ParseCommandLine(const QString &commandLine) { setLaunchState(parseLaunchText(commandLine)); }

const LaunchParams &launchParams() { return state().params; }
bool ServerMode() { return state().ServerMode; }
void setLaunchState(const ParsedCommandLine &launch) { state() = launch; }

QString localPathFromCommandLine(const QString &commandLine)
{
    QString path = commandLine;
    path.remove(QLatin1Char('"'));
    return path;
}

QString rawCommandLine(const QStringList &arguments)
{
    // The platform hands over one text; a shell may have split it at spaces.
    return arguments.mid(1).join(QLatin1Char(' '));
}

ServletSession servletSessionFrom(const LaunchParams &params)
{
    return {params.Host, params.Port, params.UserId, params.JsessionID};
}
