#pragma once
// The development-database login as connection texts: the platform's OLE DB template, kept as
// the record of the login, and the ODBC string that opens it here.

#include <QString>

class ISettingsStore;

struct DevLogin {
    QString server;
    QString database;
    QString user;
    QString password;
};

// Which ODBC driver, with which further attributes (such as "Port=5433"), and how long a login
// may wait. Read from the settings store ("OdbcDriver", "OdbcAttributes", "LoginTimeout" under
// Plendor/Settings), else from PLENDOR_ODBC_DRIVER and PLENDOR_ODBC_ATTRIBUTES.
struct OdbcSettings {
    QString driver;
    QString attributes;
    int loginTimeoutSeconds = 15;
};
OdbcSettings odbcSettingsFrom(const ISettingsStore &settings);

// "Provider=SQLOLEDB.1;Password=…;…;Data Source=…", the values inserted as they stand.
QString oleDbConnectionString(const DevLogin &login);

// A value as an ODBC attribute value: brace-quoted ("}" doubled) when it holds ";", "{" or "}"
// or begins or ends with a blank, so that it cannot end its attribute and add another.
QString odbcValue(const QString &value);

// "DRIVER={…};SERVER=…;DATABASE=…;UID=…;PWD=…", then the further attributes.
QString odbcConnectionString(const OdbcSettings &odbc, const DevLogin &login);
