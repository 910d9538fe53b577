// The servlet's XML answer and the result table read from it.

#include "FuzzSupport.h"
#include "link/ServletResult.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray answer = fuzz::bytes(data, size);
    QString message = QStringLiteral("unset");
    const std::optional<ResultTable> table = ParseServletResult(answer, message);
    if (!table || !table->isOpen())
        return 0;

    fuzz::expectEqual("a table comes only with the answer ok", message, QStringLiteral("OK"));
    const QStringList &columns = table->columns();
    fuzz::expect("column names are distinct", QSet<QString>(columns.begin(), columns.end()).size() == columns.size());
    for (qsizetype row = 0; row < table->rowCount(); ++row) {
        for (const QString &column : columns)
            fuzz::expect("values fit the column limit", table->value(row, column).size() <= ResultTable::kMaxValueLength);
        fuzz::expect("an unknown column reads empty", table->value(row, QStringLiteral("\n")).isEmpty());
    }
    fuzz::expect("rows out of range read empty", table->value(table->rowCount(), columns.value(0)).isEmpty());
    return 0;
}
