#include "completion/OdbcConnectionString.h"

#include "platform/SettingsStore.h"

namespace {
const QString kApp = QStringLiteral("Plendor");
const QString kSection = QStringLiteral("Settings");
// The platform's databases are SQL Server; FreeTDS reaches them on Debian.
const QString kDefaultDriver = QStringLiteral("FreeTDS");

QString fromSettingsOrEnvironment(const ISettingsStore &settings, const QString &key, const char *variable)
{
    const QString stored = settings.read(kApp, kSection, key, QString());
    return stored.isEmpty() ? qEnvironmentVariable(variable) : stored;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
} // namespace

OdbcSettings odbcSettingsFrom(const ISettingsStore &settings)
{
    OdbcSettings odbc;
    odbc.driver = fromSettingsOrEnvironment(settings, QStringLiteral("OdbcDriver"), "PLENDOR_ODBC_DRIVER");
    if (odbc.driver.isEmpty())
        odbc.driver = kDefaultDriver;
    odbc.attributes = fromSettingsOrEnvironment(settings, QStringLiteral("OdbcAttributes"), "PLENDOR_ODBC_ATTRIBUTES");
    bool ok = false;
    const int timeout = settings.read(kApp, kSection, QStringLiteral("LoginTimeout"), QString()).toInt(&ok);
    if (ok && timeout > 0 && timeout <= 600)
        odbc.loginTimeoutSeconds = timeout;
    return odbc;
}

QString oleDbConnectionString(const DevLogin &login)
{
    QString text = QStringLiteral("Provider=SQLOLEDB.1;Password=<PW>;Persist Security Info=True;User ID=<USER>;"
                                  "Initial Catalog=<DB>;Data Source=<SERVER>");
    text.replace(QStringLiteral("<SERVER>"), login.server);
    text.replace(QStringLiteral("<DB>"), login.database);
    text.replace(QStringLiteral("<USER>"), login.user);
    text.replace(QStringLiteral("<PW>"), login.password);
    return text;
}

QString odbcValue(const QString &value)
{
    const bool quote = value.contains(u';') || value.contains(u'{') || value.contains(u'}') ||
                       (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())));
    if (!quote)
        return value;
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString odbcConnectionString(const OdbcSettings &odbc, const DevLogin &login)
{
    QString driver = odbc.driver;
    driver.replace(u'}', QStringLiteral("}}"));
    QString text = QStringLiteral("DRIVER={%1};SERVER=%2;DATABASE=%3;UID=%4;PWD=%5")
                       .arg(driver, odbcValue(login.server), odbcValue(login.database), odbcValue(login.user),
                            odbcValue(login.password));
    const QString extra = odbc.attributes.trimmed();
    if (!extra.isEmpty())
        text += u';' + extra;
    return text;
}
