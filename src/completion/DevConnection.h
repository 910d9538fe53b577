#pragma once
// The connection to the development database opened by the login dialog: Qt SQL over ODBC.
// Each instance is a connection of its own, closed and removed when the instance goes.

#include "completion/SchemaLookup.h"

#include <QString>

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
    // Rows with named text columns; std::nullopt when the query failed (lastError() says why)
    // or a value is NULL.
    std::optional<ResultTable> run(const QString &sql) override;
    QString lastError() const { return m_lastError; }

private:
    QString m_name;
    QString m_lastError;
};
