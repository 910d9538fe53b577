#include "link/HttpResponseParser.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

const QString kClosed = QStringLiteral("服务器关闭了连接");
const QString kUnreadable = QStringLiteral("服务器的应答无法识别");
const QString kIncomplete = QStringLiteral("服务器的应答不完整");
const QString kBadLength = QStringLiteral("服务器的应答长度无效");

QString sizeText(qint64 bytes)
{
    if (bytes > 0 && bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    if (bytes > 0 && bytes % 1024 == 0)
        return QStringLiteral("%1 KB").arg(bytes / 1024);
    return QStringLiteral("%1 字节").arg(bytes);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The field value without the spaces and tabs that may surround it.
QByteArray withoutBlanks(const QByteArray &value)
{
    qsizetype from = 0;
    qsizetype to = value.size();
    while (from < to && isBlank(value.at(from)))
        ++from;
    while (to > from && isBlank(value.at(to - 1)))
        --to;
    return value.mid(from, to - from);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits only, in the given base; a number past limit reads as limit + 1, so that no count of
// digits can overflow. -1 when the text is empty or holds anything but digits (signs and inner
// blanks included).
qint64 readCount(const QByteArray &digits, int base, qint64 limit)
{
    if (digits.isEmpty())
        return -1;
    qint64 value = 0;
    for (const char c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || d >= base)
            return -1;
        value = value > (limit - d) / base ? limit + 1 : value * base + d;
    }
    return value;
}

} // namespace

// One below the largest value, so that a count read past the limit (limit + 1) still fits.
HttpResponseParser::HttpResponseParser(qint64 maxBodyBytes)
    : m_maxBody(std::clamp<qint64>(maxBodyBytes, 0, std::numeric_limits<qint64>::max() - 1))
{
}

HttpResponseParser::Progress HttpResponseParser::feed(const char *data, std::size_t size)
{
    const char *from = data;
    const char *const end = data + size;
    while (m_progress == Progress::NeedMore && from < end) {
        switch (m_stage) {
        case Stage::FixedBody:
        case Stage::ChunkData: from = readCounted(from, end); break;
        case Stage::BodyToClose: from = readToClose(from, end); break;
        default: from = readLine(from, end); break;
        }
    }
    return m_progress;
}

HttpResponseParser::Progress HttpResponseParser::finish()
{
    if (m_progress != Progress::NeedMore)
        return m_progress;
    if (m_stage == Stage::BodyToClose)
        m_progress = Progress::Done;
    else
        fail(inHeaders() ? kClosed : kIncomplete);
    return m_progress;
}

const char *HttpResponseParser::readLine(const char *from, const char *end)
{
    const auto *newline = static_cast<const char *>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
    const qsizetype length = (newline ? newline : end) - from;
    // A line never grows past the header limit: header lines count together, a chunk line alone.
    const qsizetype room = kMaxHeaderBytes - m_line.size() - (inHeaders() ? m_headerBytes : 0);
    if (length >= room) {
        if (inHeaders())
            fail(QStringLiteral("服务器的应答头超过 %1,已停止接收").arg(sizeText(kMaxHeaderBytes)));
        else
            fail(kUnreadable);
        return end;
    }
    m_line.append(from, length);
    if (!newline)
        return end;
    if (inHeaders())
        m_headerBytes += m_line.size() + 1;
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    const QByteArray line = std::exchange(m_line, QByteArray());
    onLine(line);
    return newline + 1;
}

const char *HttpResponseParser::readCounted(const char *from, const char *end)
{
    const qint64 take = std::min<qint64>(m_remaining, end - from);
    m_body.append(from, static_cast<qsizetype>(take));
    m_remaining -= take;
    if (m_remaining == 0) {
        if (m_stage == Stage::FixedBody)
            m_progress = Progress::Done;
        else
            m_stage = Stage::ChunkEnd;
    }
    return from + take;
}

const char *HttpResponseParser::readToClose(const char *from, const char *end)
{
    if (end - from > m_maxBody - m_body.size()) {
        failTooLarge();
        return end;
    }
    m_body.append(from, end - from);
    return end;
}

void HttpResponseParser::onLine(const QByteArray &line)
{
    switch (m_stage) {
    case Stage::StatusLine: onStatusLine(line); break;
    case Stage::Headers: onHeaderLine(line); break;
    case Stage::ChunkSize: onChunkSize(line); break;
    case Stage::ChunkEnd:
        if (line.isEmpty())
            m_stage = Stage::ChunkSize;
        else
            fail(kUnreadable); // the chunk was longer than it said
        break;
    default: break;
    }
}

// "HTTP/1.1 200 OK": the version, one space, three digits, then the end or a space and a reason.
void HttpResponseParser::onStatusLine(const QByteArray &line)
{
    const qsizetype space = line.indexOf(' ');
    const QByteArray code = line.mid(space + 1, 3);
    const bool wellFormed = line.startsWith("HTTP/") && space > 0 && code.size() == 3 &&
                            std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                            (line.size() == space + 4 || line.at(space + 4) == ' ');
    if (!wellFormed) {
        fail(kUnreadable);
        return;
    }
    m_status = code.toInt();
    m_interim = m_status < 200;
    m_stage = Stage::Headers;
}

void HttpResponseParser::onHeaderLine(const QByteArray &line)
{
    if (line.isEmpty()) {
        onHeadersEnd();
        return;
    }
    // A folded line would continue a field that has already been read.
    if (isBlank(line.front())) {
        fail(kUnreadable);
        return;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return;
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = withoutBlanks(line.mid(colon + 1));
    if (name == "content-length") {
        onContentLength(value);
    } else if (name == "transfer-encoding") {
        // The last coding decides how the body is framed.
        m_chunked = withoutBlanks(value.mid(value.lastIndexOf(',') + 1)).toLower() == "chunked";
    } else if (name == "content-type") {
        m_contentType = value;
    }
}

void HttpResponseParser::onContentLength(const QByteArray &value)
{
    const qint64 length = readCount(value, 10, m_maxBody);
    if (length < 0 || (m_contentLength >= 0 && length != m_contentLength)) {
        fail(kBadLength);
        return;
    }
    m_contentLength = length;
}

void HttpResponseParser::onHeadersEnd()
{
    if (m_interim) {
        m_contentLength = -1;
        m_chunked = false;
        m_contentType.clear();
        m_stage = Stage::StatusLine;
        return;
    }
    if (m_status == 204 || m_status == 304) {
        m_progress = Progress::Done; // these never carry a body
    } else if (m_chunked) {
        m_stage = Stage::ChunkSize;
    } else if (m_contentLength > m_maxBody) {
        failTooLarge();
    } else if (m_contentLength == 0) {
        m_progress = Progress::Done;
    } else if (m_contentLength > 0) {
        m_remaining = m_contentLength;
        m_stage = Stage::FixedBody;
    } else {
        m_stage = Stage::BodyToClose;
    }
}

void HttpResponseParser::onChunkSize(const QByteArray &line)
{
    const qsizetype extension = line.indexOf(';');
    const qint64 size = readCount(withoutBlanks(extension < 0 ? line : line.left(extension)), 16, m_maxBody);
    if (size < 0) {
        fail(kUnreadable);
    } else if (size > m_maxBody - m_body.size()) {
        failTooLarge();
    } else if (size == 0) {
        m_progress = Progress::Done; // trailers are not needed
    } else {
        m_remaining = size;
        m_stage = Stage::ChunkData;
    }
}

void HttpResponseParser::fail(const QString &error)
{
    m_error = error;
    m_progress = Progress::Failed;
}

void HttpResponseParser::failTooLarge()
{
    fail(QStringLiteral("服务器的应答超过 %1,已停止接收").arg(sizeText(m_maxBody)));
}
