#include "completion/SchemaLookup.h"

QString allTablesQuery()
{
    return QStringLiteral("select tableName + ':' + isnull(zh_Cn,'')  as tablename  from tbldbtableinfo t1 "
                          "left join tbllanguage t2 on t1.languageid = t2.id  ");
}

QString fieldsQuery(const QString &tableName)
{
    QString quoted = tableName;
    quoted.replace(u'\'', QStringLiteral("''"));
    return QStringLiteral("select fieldName + ':' + isnull(zh_Cn,'')  as fieldName from tbldbfieldinfo t1 "
                          "left join tbllanguage t2 on t1.languageid = t2.id  where tableid=(select id from "
                          "tblDBTableInfo where tablename ='") +
           quoted + QStringLiteral("') order by  fieldName");
}

QString RunSchemaQuery(ISchemaSource *source, const QString &sql, const QString &column)
{
    if (!source)
        return {};
    const std::optional<ResultTable> result = source->run(sql);
    if (!result || !result->isOpen() || result->rowCount() == 0)
        return {};
    QString found;
    for (const QString &name : result->columns()) {
        if (name.compare(column, Qt::CaseInsensitive) == 0) {
            found = name;
            break;
        }
    }
    if (found.isEmpty())
        return {};
    // A value joins the list after a "|" only once the list holds something, so empty values
    // before the first name leave no empty item behind.
    QString list;
    for (qsizetype row = 0; row < result->rowCount(); ++row) {
        if (!list.isEmpty())
            list += u'|';
        list += result->value(row, found);
    }
    return list;
}

QString LookupAllTables(ISchemaSource *source)
{
    return RunSchemaQuery(source, allTablesQuery(), QStringLiteral("tablename"));
}

QString LookupFields(ISchemaSource *source, const QString &tableName)
{
    return RunSchemaQuery(source, fieldsQuery(tableName), QStringLiteral("fieldName"));
}
