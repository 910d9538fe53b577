#include "link/HttpExchange.h"

#include "platform/SocketWait.h"

#include <curl/curl.h>

#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

const QString kUnreadableAnswer = QStringLiteral("服务器的应答无法识别");
const QString kIncompleteAnswer = QStringLiteral("服务器的应答不完整");

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

struct CurlDeleter {
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};

bool hostIsSafe(const QString &host)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c == u'/' || c == u'?' || c == u'#' || c == u'@')
            return false;
    }
    return true;
}

class Connection {
public:
    Connection(CURL *curl, curl_socket_t socket, Clock::time_point deadline)
        : m_curl(curl), m_socket(socket), m_deadline(deadline)
    {
    }

    bool sendAll(const QByteArray &bytes, QString &error)
    {
        qsizetype sent = 0;
        while (sent < bytes.size()) {
            const char *from = bytes.constData() + sent;
            const size_t left = static_cast<size_t>(bytes.size() - sent);
            size_t n = 0;
            if (!transfer([&] { return curl_easy_send(m_curl, from, left, &n); }, platform::SocketReady::Write, error))
                return false;
            sent += static_cast<qsizetype>(n);
        }
        return true;
    }

    // Appends what arrives; false on time-out or error, true with eof set when the peer closed.
    bool receiveSome(QByteArray &buffer, bool &eof, QString &error)
    {
        char chunk[16384];
        size_t n = 0;
        if (!transfer([&] { return curl_easy_recv(m_curl, chunk, sizeof chunk, &n); }, platform::SocketReady::Read, error))
            return false;
        eof = n == 0;
        buffer.append(chunk, static_cast<qsizetype>(n));
        return true;
    }

private:
    // Runs one send or receive step, waiting (within the deadline) while the socket is not ready.
    template <typename Step> bool transfer(Step step, platform::SocketReady events, QString &error)
    {
        for (;;) {
            const CURLcode rc = step();
            if (rc == CURLE_OK)
                return true;
            if (rc != CURLE_AGAIN) {
                error = QString::fromUtf8(curl_easy_strerror(rc));
                return false;
            }
            if (!platform::waitForSocket(static_cast<std::intptr_t>(m_socket), events, m_deadline)) {
                error = QStringLiteral("等待服务器超时");
                return false;
            }
        }
    }

    CURL *m_curl;
    curl_socket_t m_socket;
    Clock::time_point m_deadline;
};

// Reads the response from the connection: status line, headers, then a body delimited by
// Content-Length, chunked coding, or the end of the connection.
class ResponseReader {
public:
    explicit ResponseReader(Connection &connection) : m_conn(connection) {}

    bool read(HttpResponse &response)
    {
        qsizetype headerEnd = -1;
        while ((headerEnd = m_buffer.indexOf("\r\n\r\n")) < 0) {
            if (!more(response.error))
                return false;
            if (m_eof) {
                response.error = QStringLiteral("服务器关闭了连接");
                return false;
            }
        }
        const QList<QByteArray> lines = m_buffer.left(headerEnd).split('\n');
        const QList<QByteArray> statusParts = lines.value(0).trimmed().split(' ');
        bool statusOk = false;
        response.status = statusParts.value(1).toInt(&statusOk);
        if (!statusOk || !statusParts.value(0).startsWith("HTTP/")) {
            response.error = kUnreadableAnswer;
            return false;
        }
        qint64 contentLength = -1;
        bool chunked = false;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-length")
                contentLength = value.toLongLong();
            else if (name == "transfer-encoding" && value.toLower().contains("chunked"))
                chunked = true;
            else if (name == "content-type")
                response.contentType = value;
        }
        m_buffer.remove(0, headerEnd + 4);
        const bool bodyRead = chunked ? readChunked(response) : readPlain(response, contentLength);
        if (bodyRead)
            response.ok = true;
        return bodyRead;
    }

private:
    bool more(QString &error) { return m_conn.receiveSome(m_buffer, m_eof, error); }

    bool readPlain(HttpResponse &response, qint64 contentLength)
    {
        while (contentLength < 0 ? !m_eof : m_buffer.size() < contentLength) {
            if (!more(response.error))
                return false;
            if (m_eof && contentLength >= 0 && m_buffer.size() < contentLength) {
                response.error = kIncompleteAnswer;
                return false;
            }
        }
        response.body = contentLength < 0 ? m_buffer : m_buffer.left(contentLength);
        return true;
    }

    bool readChunked(HttpResponse &response)
    {
        for (;;) {
            qsizetype lineEnd;
            while ((lineEnd = m_buffer.indexOf("\r\n")) < 0) {
                if (!moreOrFail(response))
                    return false;
            }
            bool sizeOk = false;
            const qint64 size = m_buffer.left(lineEnd).split(';').value(0).trimmed().toLongLong(&sizeOk, 16);
            if (!sizeOk || size < 0) {
                response.error = kUnreadableAnswer;
                return false;
            }
            m_buffer.remove(0, lineEnd + 2);
            if (size == 0)
                return true; // trailers are not needed
            while (m_buffer.size() < size + 2) {
                if (!moreOrFail(response))
                    return false;
            }
            response.body.append(m_buffer.left(size));
            m_buffer.remove(0, size + 2);
        }
    }

    bool moreOrFail(HttpResponse &response)
    {
        if (!more(response.error))
            return false;
        if (m_eof) {
            response.error = kIncompleteAnswer;
            return false;
        }
        return true;
    }

    Connection &m_conn;
    QByteArray m_buffer;
    bool m_eof = false;
};

} // namespace

QByteArray encodeRequestTarget(const QString &target)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char ch : target.toUtf8()) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out;
}

HttpResponse performHttp(const HttpRequest &request)
{
    static CurlGlobal global;
    HttpResponse response;
    if (!hostIsSafe(request.host)) {
        response.error = QStringLiteral("服务器地址无效: %1").arg(request.host);
        return response;
    }
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        response.error = QStringLiteral("无法创建网络连接");
        return response;
    }
    const Clock::time_point deadline = Clock::now() + request.timeout;
    const QByteArray url = "http://" + request.host.toUtf8() + ":" + QByteArray::number(request.port) + "/";
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    curl_easy_setopt(curl.get(), CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_PROXY, "");
    const CURLcode rc = curl_easy_perform(curl.get());
    if (rc != CURLE_OK) {
        response.error = QString::fromUtf8(curl_easy_strerror(rc));
        return response;
    }
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(curl.get(), CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK || socket == CURL_SOCKET_BAD) {
        response.error = QStringLiteral("无法连接服务器");
        return response;
    }

    QByteArray wire = "POST " + request.target + " HTTP/1.1\r\n";
    for (const auto &[name, value] : request.headers) {
        QByteArray clean = value;
        clean.replace('\r', "").replace('\n', ""); // a value can never start another header
        wire += name + ": " + clean + "\r\n";
    }
    wire += "\r\n";
    wire += request.body;

    Connection connection(curl.get(), socket, deadline);
    if (!connection.sendAll(wire, response.error))
        return response;
    ResponseReader reader(connection);
    reader.read(response);
    return response;
}
