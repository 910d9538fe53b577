#include "link/ServletResult.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace {

// The clock is read once per this many parser tokens.
constexpr int kTokensPerClockLook = 4096;

class Deadline {
public:
    explicit Deadline(std::chrono::steady_clock::time_point at) : m_at(at) {}
    // True once the deadline has passed (looked at every kTokensPerClockLook calls).
    bool passed()
    {
        if (m_calls++ % kTokensPerClockLook != 0)
            return false;
        return std::chrono::steady_clock::now() > m_at;
    }

private:
    std::chrono::steady_clock::time_point m_at;
    int m_calls = 0;
};

// Hands the answer to the XML reader a piece at a time, so that the reader holds a piece of it
// decoded rather than all of it.
class PieceReader {
public:
    explicit PieceReader(const QByteArray &answer) : m_answer(answer) { feed(); }

    // The next token; Invalid at the end of a document that is cut short or on an error.
    QXmlStreamReader::TokenType next()
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::Invalid && xml.error() == QXmlStreamReader::PrematureEndOfDocumentError &&
                m_fed < m_answer.size()) {
                feed();
                continue;
            }
            return token;
        }
    }

    QXmlStreamReader xml;

private:
    static constexpr qsizetype kPiece = qsizetype(1) << 20;

    void feed()
    {
        const qsizetype size = std::min(kPiece, m_answer.size() - m_fed);
        xml.addData(m_answer.mid(m_fed, size));
        m_fed += size;
    }

    const QByteArray &m_answer;
    qsizetype m_fed = 0;
};

// What a first pass over the answer learns, keeping nothing of the rows but the first row's
// column names: the answer is checked whole before a table is built from it.
struct Outline {
    QString name;
    bool hasResult = false;
    QString result;
    QString textContent; // only when the result is not "ok": the failure's text
    bool hasChildren = false;
    bool hasRowElement = false;
    QStringList columns; // of the first element named "row"
    qint64 rows = 0;       // elements in the document element
    qint64 values = 0;     // their attributes
    qint64 characters = 0; // and the attributes' values' length
};

enum class Read { Done, Malformed, TimedOut };

// Whether a token at the document element's level is a node for the platform's parser.
// Whitespace between elements is no node.
bool isChildNode(const QXmlStreamReader &xml, QXmlStreamReader::TokenType token)
{
    switch (token) {
    case QXmlStreamReader::StartElement: return true;
    case QXmlStreamReader::Characters: return !xml.isWhitespace();
    case QXmlStreamReader::Comment:
    case QXmlStreamReader::ProcessingInstruction:
    case QXmlStreamReader::EntityReference: return true;
    default: return false;
    }
}

Read outline(const QByteArray &answer, Outline &out, Deadline &deadline)
{
    PieceReader reader(answer);
    const QXmlStreamReader &xml = reader.xml;
    int depth = 0;
    bool seenRoot = false;
    while (!xml.atEnd()) {
        if (deadline.passed())
            return Read::TimedOut;
        const QXmlStreamReader::TokenType token = reader.next();
        if (depth == 1 && isChildNode(xml, token))
            out.hasChildren = true;
        switch (token) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (depth == 1) {
                seenRoot = true;
                out.name = xml.name().toString();
                const QXmlStreamAttributes attrs = xml.attributes();
                out.hasResult = attrs.hasAttribute(QStringLiteral("result"));
                out.result = attrs.value(QStringLiteral("result")).toString();
            } else if (depth == 2) {
                const QXmlStreamAttributes attrs = xml.attributes();
                ++out.rows;
                out.values += attrs.size();
                for (const QXmlStreamAttribute &a : attrs)
                    out.characters += std::min<qint64>(a.value().size(), ResultTable::kMaxValueLength);
                if (!out.hasRowElement && xml.name() == QLatin1String("row")) {
                    out.hasRowElement = true;
                    for (const QXmlStreamAttribute &a : attrs)
                        out.columns << a.qualifiedName().toString();
                }
            }
            break;
        case QXmlStreamReader::EndElement: --depth; break;
        case QXmlStreamReader::Characters:
            if (depth >= 1 && out.result != QLatin1String("ok"))
                out.textContent += xml.text();
            break;
        default: break;
        }
    }
    if (xml.hasError() || !seenRoot)
        return Read::Malformed;
    return Read::Done;
}

QString tooManyCells(qint64 maxCells) { return QStringLiteral("服务器返回的数据过多(超过 %1 个单元格)").arg(maxCells); }

} // namespace

std::optional<ResultTable> ParseServletResult(const QByteArray &answer, QString &message, qint64 maxCells,
                                              std::chrono::steady_clock::time_point deadline)
{
    Deadline clock(deadline);
    Outline data;
    switch (outline(answer, data, clock)) {
    case Read::Malformed: message = QStringLiteral("获取数据失败！"); return ResultTable();
    case Read::TimedOut: message = kAnswerTimedOut; return std::nullopt;
    case Read::Done: break;
    }
    if (data.name != QLatin1String("data"))
        return ResultTable();
    if (!data.hasResult)
        return std::nullopt;
    if (data.result != QLatin1String("ok")) {
        message = data.textContent;
        return std::nullopt;
    }
    message = QStringLiteral("OK");
    if (!data.hasChildren)
        return ResultTable();
    if (!data.hasRowElement)
        return std::nullopt;

    // Each child of the document element is a row, in order; the table's cell limit applies as
    // the rows come, so that an answer of endless rows is refused before it fills the memory.
    ResultTable table(data.columns, maxCells);
    const qint64 width = std::max<qint64>(data.columns.size(), 1);
    if (data.rows <= maxCells / width)
        table.reserve(data.values, data.characters); // an answer past the limit is refused anyway
    PieceReader reader(answer);
    const QXmlStreamReader &xml = reader.xml;
    int depth = 0;
    while (!xml.atEnd()) {
        if (clock.passed()) {
            message = kAnswerTimedOut;
            return std::nullopt;
        }
        const QXmlStreamReader::TokenType token = reader.next();
        if (depth == 1 && isChildNode(xml, token) && token != QXmlStreamReader::StartElement)
            return std::nullopt; // a row that is no element
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth != 2)
            continue;
        const std::optional<qsizetype> row = table.addRow();
        if (!row) {
            message = tooManyCells(maxCells);
            return std::nullopt;
        }
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            if (!table.setValue(*row, a.qualifiedName().toString(), a.value().toString()))
                return std::nullopt;
        }
    }
    return table;
}
