#pragma once
// The connection to the development database opened by the login dialog: Qt SQL over ODBC.
// Each instance is a connection of its own, closed and removed when the instance goes.

#include "completion/SchemaLookup.h"

#include <QString>

class QSqlDatabase;

class DevConnection : public ISchemaSource {
public:
    DevConnection();
    ~DevConnection() override;
    DevConnection(const DevConnection &) = delete;
    DevConnection &operator=(const DevConnection &) = delete;

    // Opens the ODBC connection text; a login waits at most timeoutSeconds. False with
    // lastError() set to the database client's own description.
    bool open(const QString &odbcConnection, int timeoutSeconds);
    bool isOpen() const;
    // Rows with named text columns, less the rows that hold a NULL; std::nullopt when the query
    // failed (lastError() says why).
    std::optional<ResultTable> run(const QString &sql) override;
    QString lastError() const { return m_lastError; }

    // The connection's name in Qt SQL.
    QString connectionName() const { return m_name; }
    // Runs sql over a copy of the named connection opened on the calling thread for this query
    // alone (a Qt SQL connection serves only the thread that opened it); std::nullopt when the
    // copy cannot be opened (the connection is gone) or the query failed.
    static std::optional<ResultTable> runOnCopy(const QString &connectionName, const QString &sql);

private:
    static std::optional<ResultTable> query(const QSqlDatabase &db, const QString &sql, QString &error);

    QString m_name;
    QString m_lastError;
};
