#include "link/ServletResult.h"

#include <QXmlStreamReader>

namespace {

struct Attribute {
    QString name;
    QString value;
};

// What the document element holds: its children as the platform's XML parser sees them.
struct DataNode {
    QString name;
    bool hasResult = false;
    QString result;
    QString textContent;
    struct Child {
        bool isElement = false;
        std::vector<Attribute> attributes;
        QString name;
    };
    std::vector<Child> children;
};

std::optional<DataNode> readDocument(const QByteArray &answer)
{
    QXmlStreamReader xml(answer);
    DataNode node;
    int depth = 0;
    bool seenRoot = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (depth == 1) {
                seenRoot = true;
                node.name = xml.name().toString();
                const QXmlStreamAttributes attrs = xml.attributes();
                node.hasResult = attrs.hasAttribute(QStringLiteral("result"));
                node.result = attrs.value(QStringLiteral("result")).toString();
            } else if (depth == 2) {
                DataNode::Child child;
                child.isElement = true;
                child.name = xml.name().toString();
                for (const QXmlStreamAttribute &a : xml.attributes())
                    child.attributes.push_back({a.qualifiedName().toString(), a.value().toString()});
                node.children.push_back(std::move(child));
            }
            break;
        case QXmlStreamReader::EndElement: --depth; break;
        case QXmlStreamReader::Characters:
            if (depth >= 1)
                node.textContent += xml.text();
            // Whitespace between elements is no node for the platform's parser.
            if (depth == 1 && !xml.isWhitespace())
                node.children.push_back({});
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::EntityReference:
            if (depth == 1)
                node.children.push_back({});
            break;
        default: break;
        }
    }
    if (xml.hasError() || !seenRoot)
        return std::nullopt;
    return node;
}

} // namespace

std::optional<ResultTable> ParseServletResult(const QByteArray &answer, QString &message, qint64 maxCells)
{
    const std::optional<DataNode> data = readDocument(answer);
    if (!data) {
        message = QStringLiteral("获取数据失败！");
        return ResultTable();
    }
    if (data->name != QLatin1String("data"))
        return ResultTable();
    if (!data->hasResult)
        return std::nullopt;
    if (data->result != QLatin1String("ok")) {
        message = data->textContent;
        return std::nullopt;
    }
    message = QStringLiteral("OK");
    if (data->children.empty())
        return ResultTable();

    const auto firstRow = std::find_if(data->children.begin(), data->children.end(), [](const DataNode::Child &c) {
        return c.isElement && c.name == QLatin1String("row");
    });
    if (firstRow == data->children.end())
        return std::nullopt;
    QStringList columns;
    for (const Attribute &a : firstRow->attributes)
        columns << a.name;

    ResultTable table(columns, maxCells);
    for (const DataNode::Child &child : data->children) {
        if (!child.isElement)
            return std::nullopt;
        const std::optional<qsizetype> row = table.addRow();
        if (!row) {
            message = QStringLiteral("服务器返回的数据过多(超过 %1 个单元格)").arg(maxCells);
            return std::nullopt;
        }
        for (const Attribute &a : child.attributes) {
            if (!table.setValue(*row, a.name, a.value))
                return std::nullopt;
        }
    }
    return table;
}
