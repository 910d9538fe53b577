#include "completion/Vocabularies.h"

#include "completion/WildcardPattern.h"
#include "document/DefineVocabulary.h"

QString TagList()
{
    // One list with the define-file check, which must accept every tag it offers.
    QString list;
    for (const std::string_view item : define_vocabulary::kTagListItems) {
        if (!list.isEmpty())
            list += u'|';
        list += QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()));
    }
    return list;
}

QString AtVariableList() { return QStringLiteral("MEM|ParamNum|Sess|SPFieldLink|SqlReturn|ValueofDB|ProcReturn|CODE"); }

QString SessVariableList()
{
    return QStringLiteral("UserId|BillOper'=='add'|BillOper'=='update'|BillOper'=='delete'");
}

QString MemVariableList() { return QStringLiteral("sysLongDate|sysShortDate"); }

QString CodeVariableList() { return QStringLiteral("[tableName_BillNO]"); }

QString FilterList(QStringView list, QStringView search, FilterMode mode)
{
    QString pattern;
    pattern.reserve(search.size() + 2);
    if (mode == FilterMode::Contains)
        pattern += u'*';
    pattern += search;
    pattern += u'*';
    const std::optional<WildcardPattern> compiled = WildcardPattern::compile(pattern);
    if (!compiled)
        return {};

    QString result;
    bool first = true;
    qsizetype start = 0;
    while (true) {
        const qsizetype bar = list.indexOf(u'|', start);
        const QStringView item = list.mid(start, bar < 0 ? list.size() - start : bar - start);
        if (compiled->matches(item)) {
            if (!first)
                result += u'|';
            result += item;
            first = false;
        }
        if (bar < 0)
            break;
        start = bar + 1;
    }
    return result;
}

QString NameBeforeColon(QStringView item)
{
    const qsizetype colon = item.indexOf(u':');
    return (colon < 0 ? item : item.left(colon)).toString();
}
