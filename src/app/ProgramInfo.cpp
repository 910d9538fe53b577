#include "app/ProgramInfo.h"

#include "platform/Version.h"

std::optional<QByteArray> programInfoRequest(const QString &commandLine)
{
    if (commandLine == QLatin1String("--help"))
        return programHelpText();
    if (commandLine == QLatin1String("--version"))
        return programVersionText();
    return std::nullopt;
}

QByteArray programHelpText()
{
    return QByteArrayLiteral(
        "Usage: plendor [FILE]\n"
        "  or:  plendor getHost=HOST,getPort=PORT,UpLoadFileName=NAME,OpenFileName=PATH,DefineName=DEFINE,"
        "UserId=USER,JsessionID=SESSION\n"
        "  or:  plendor --help | --version\n"
        "\n"
        "Edits the XML define files of the reporting platform: SQL wrapped in a small tag language,\n"
        "shown in a readable form and stored XML-escaped.\n"
        "\n"
        "Modes:\n"
        "  FILE   local mode: the whole command line, with every double quote removed, is the\n"
        "         path of a define file to open; saving writes local files. Without FILE the\n"
        "         editor starts empty.\n"
        "  getHost=HOST,...\n"
        "         server mode, as the platform starts the editor: comma-separated key=value\n"
        "         pieces; the document is loaded from OpenFileName, titled with UpLoadFileName,\n"
        "         and saving uploads it to the report servlet at HOST:PORT (port 80 by default).\n"
        "\n"
        "Options:\n"
        "  --help     show this help (only as the whole command line)\n"
        "  --version  show the version (only as the whole command line)\n"
        "\n"
        "Environment:\n"
        "  PLENDOR_SETTINGS_DIR\n"
        "         the folder of the settings files instead of ~/.config/Plendor\n"
        "  QT_QPA_PLATFORM\n"
        "         the display platform; the editor needs a display (offscreen for tests)\n");
}

QByteArray programVersionText()
{
    return QStringLiteral("plendor %1\n").arg(platform::programVersion()).toUtf8();
}
