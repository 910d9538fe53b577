#pragma once
// Table and field names of the development database as completion lists (name:caption items),
// read through the report servlet in server mode or over the login's connection otherwise.
// Every failure gives the empty list, silently.

#include "link/ResultTable.h"
#include "link/ServletClient.h"

#include <QString>
#include <optional>

// Where a schema query runs.
class ISchemaSource {
public:
    virtual ~ISchemaSource() = default;
    // std::nullopt when the query failed.
    virtual std::optional<ResultTable> run(const QString &sql) = 0;
};

// The servlet's "sql" operation.
class ServletSchemaSource : public ISchemaSource {
public:
    explicit ServletSchemaSource(ServletClient client) : m_client(std::move(client)) {}
    std::optional<ResultTable> run(const QString &sql) override { return m_client.QueryServer(sql); }

private:
    ServletClient m_client;
};

// The query texts as the platform's database expects them.
QString allTablesQuery();
// Each single quote of the name is doubled, so no name can change the statement.
QString fieldsQuery(const QString &tableName);

// The values of column (found without regard to case, as the platform's database clients do)
// joined by "|"; empty without a source, on any failure, or without rows.
QString RunSchemaQuery(ISchemaSource *source, const QString &sql, const QString &column);
QString LookupAllTables(ISchemaSource *source);
QString LookupFields(ISchemaSource *source, const QString &tableName);
