#include "completion/DevConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

namespace {
QString describe(const QSqlError &error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("未知错误") : text;
}
} // namespace

DevConnection::DevConnection()
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("DevConnection%1").arg(++counter);
}

DevConnection::~DevConnection()
{
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool DevConnection::open(const QString &odbcConnection, int timeoutSeconds)
{
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    if (!db.isValid()) {
        m_lastError = QStringLiteral("ODBC 数据库驱动不可用");
        return false;
    }
    db.close();
    db.setDatabaseName(odbcConnection);
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(timeoutSeconds));
    if (!db.open()) {
        m_lastError = describe(db.lastError());
        return false;
    }
    m_lastError.clear();
    return true;
}

bool DevConnection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

std::optional<ResultTable> DevConnection::run(const QString &sql)
{
    if (!isOpen()) {
        m_lastError = QStringLiteral("没有连接到数据库");
        return std::nullopt;
    }
    return query(QSqlDatabase::database(m_name, false), sql, m_lastError);
}

std::optional<ResultTable> DevConnection::runOnCopy(const QString &connectionName, const QString &sql)
{
    static std::atomic<int> counter{0};
    const QString copyName = connectionName + QStringLiteral("/copy%1").arg(++counter);
    std::optional<ResultTable> result;
    {
        QSqlDatabase copy = QSqlDatabase::cloneDatabase(connectionName, copyName);
        QString error;
        if (copy.isValid() && copy.open())
            result = query(copy, sql, error);
        copy.close();
    }
    QSqlDatabase::removeDatabase(copyName);
    return result;
}

std::optional<ResultTable> DevConnection::query(const QSqlDatabase &db, const QString &sql, QString &error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        error = describe(query.lastError());
        return std::nullopt;
    }
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    ResultTable table(columns);
    QStringList values;
    while (query.next()) {
        // A row holding a NULL (a field without a name) is left out; the other rows stay.
        values.clear();
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant value = query.value(i);
            if (value.isNull())
                break;
            values << value.toString();
        }
        if (values.size() < columns.size())
            continue;
        const std::optional<qsizetype> row = table.addRow();
        if (!row)
            return std::nullopt;
        for (int i = 0; i < columns.size(); ++i)
            table.setValue(*row, columns.at(i), values.at(i));
    }
    if (query.lastError().isValid()) {
        error = describe(query.lastError());
        return std::nullopt;
    }
    return table;
}
