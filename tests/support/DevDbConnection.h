#pragma once
// Where the database script (tests/completion/test_db.sh) started PostgreSQL: it writes
// connection.env, one KEY=value a line, into its state folder.

#include <QFile>
#include <QString>
#include <optional>

struct DevDbConnection {
    QString driver, port, database, user, password;
};

inline std::optional<DevDbConnection> readDevDbConnection(const QString &stateFolder)
{
    QFile file(stateFolder + QStringLiteral("/connection.env"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    DevDbConnection db;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "PLENDOR_TEST_DB_DRIVER") db.driver = value;
        if (key == "PLENDOR_TEST_DB_PORT") db.port = value;
        if (key == "PLENDOR_TEST_DB_NAME") db.database = value;
        if (key == "PLENDOR_TEST_DB_USER") db.user = value;
        if (key == "PLENDOR_TEST_DB_PASSWORD") db.password = value;
    }
    return db;
}
