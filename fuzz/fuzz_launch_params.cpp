// The command line the platform starts the editor with: comma-separated key=value pieces in
// server mode, a path with its double quotes removed in local mode.

#include "FuzzSupport.h"
#include "app/LaunchParams.h"
#include "app/ProgramInfo.h"

#include <QMap>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString line = QString::fromUtf8(fuzz::bytes(data, size));
    const ParsedCommandLine parsed = parseLaunchText(line);
    const LaunchParams &p = parsed.params;

    // The last piece with a key wins; nothing is trimmed.
    QMap<QString, QString> last;
    for (const QString &piece : line.split(u',')) {
        const qsizetype eq = piece.indexOf(u'=');
        if (eq >= 0)
            last[piece.left(eq)] = piece.mid(eq + 1);
    }
    fuzz::expectEqual("getHost", p.Host, last.value(QStringLiteral("getHost")));
    fuzz::expectEqual("UpLoadFileName", p.UpLoadFileName, last.value(QStringLiteral("UpLoadFileName")));
    fuzz::expectEqual("OpenFileName", p.OpenFileName, last.value(QStringLiteral("OpenFileName")));
    fuzz::expectEqual("DefineName", p.DefineName, last.value(QStringLiteral("DefineName")));
    fuzz::expectEqual("UserId", p.UserId, last.value(QStringLiteral("UserId")));
    fuzz::expectEqual("JsessionID", p.JsessionID, last.value(QStringLiteral("JsessionID")));
    fuzz::expect("server mode exactly when a host is given", parsed.ServerMode == !p.Host.isEmpty());
    fuzz::expect("a port of 0 becomes 80", p.Port != 0);
    bool isNumber = false;
    const qlonglong port = last.value(QStringLiteral("getPort")).toLongLong(&isNumber);
    if (isNumber && port != 0 && port == static_cast<std::int32_t>(port))
        fuzz::expect("a port in range is kept", p.Port == port);

    ParseCommandLine(line);
    fuzz::expect("the process-wide values are the parsed ones",
                 launchParams().Host == p.Host && launchParams().Port == p.Port && ServerMode() == parsed.ServerMode);
    const ServletSession session = servletSessionFrom(p);
    fuzz::expect("the servlet session carries the launch values",
                 session.Host == p.Host && session.Port == p.Port && session.UserId == p.UserId &&
                     session.JsessionID == p.JsessionID);

    const QString path = localPathFromCommandLine(line);
    fuzz::expect("a local path holds no double quote", !path.contains(u'"'));
    fuzz::expect("only double quotes are removed", path.size() == line.size() - line.count(u'"'));
    // --help and --version answer only as the whole command line; anything else starts the editor.
    const bool isOption = line == QLatin1String("--help") || line == QLatin1String("--version");
    fuzz::expect("only a whole --help or --version is an option", programInfoRequest(line).has_value() == isOption);
    return 0;
}
