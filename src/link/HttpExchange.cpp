#include "link/HttpExchange.h"

#include "platform/SocketWait.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

const QString kTimedOut = QStringLiteral("等待服务器超时");
const QString kCancelled = QStringLiteral("已取消");
// How long a wait runs before it looks at the cancel flag again.
constexpr std::chrono::milliseconds kCancelCheck{50};

bool isCancelled(const std::atomic<bool> *flag) { return flag && flag->load(std::memory_order_relaxed); }

// libcurl's progress hook while it connects: a non-zero answer abandons the connect.
int cancelWhileConnecting(void *flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return isCancelled(static_cast<const std::atomic<bool> *>(flag)) ? 1 : 0;
}

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
    Connection(CURL *curl, curl_socket_t socket, Clock::time_point deadline, const std::atomic<bool> *cancelled)
        : m_curl(curl), m_socket(socket), m_deadline(deadline), m_cancelled(cancelled)
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

    // Reads what has arrived into the buffer; false on time-out or error, true with received 0
    // when the peer closed.
    bool receiveSome(char *buffer, size_t capacity, size_t &received, QString &error)
    {
        received = 0;
        return transfer([&] { return curl_easy_recv(m_curl, buffer, capacity, &received); },
                        platform::SocketReady::Read, error);
    }

private:
    // Runs one send or receive step, waiting (within the deadline) while the socket is not ready.
    // The deadline holds even for a server that always has another byte ready.
    template <typename Step> bool transfer(Step step, platform::SocketReady events, QString &error)
    {
        for (bool ready = true;;) {
            if (isCancelled(m_cancelled)) {
                error = kCancelled;
                return false;
            }
            if (Clock::now() >= m_deadline) {
                error = kTimedOut;
                return false;
            }
            if (!ready) {
                // Waits in short slices so that a cancel is seen soon.
                const Clock::time_point slice =
                    m_cancelled ? std::min(m_deadline, Clock::now() + kCancelCheck) : m_deadline;
                ready = platform::waitForSocket(static_cast<std::intptr_t>(m_socket), events, slice);
                // Not ready before the deadline, or the wait itself failed.
                if (!ready && (slice == m_deadline || Clock::now() < slice)) {
                    error = kTimedOut;
                    return false;
                }
                continue;
            }
            const CURLcode rc = step();
            if (rc == CURLE_OK)
                return true;
            if (rc != CURLE_AGAIN) {
                error = QString::fromUtf8(curl_easy_strerror(rc));
                return false;
            }
            ready = false;
        }
    }

    CURL *m_curl;
    curl_socket_t m_socket;
    Clock::time_point m_deadline;
    const std::atomic<bool> *m_cancelled;
};

// Feeds the answer to the parser as it arrives, until it is complete, fails or the time is up.
void readResponse(Connection &connection, qint64 maxBodyBytes, HttpResponse &response)
{
    HttpResponseParser parser(maxBodyBytes);
    char chunk[16384];
    HttpResponseParser::Progress progress = HttpResponseParser::Progress::NeedMore;
    while (progress == HttpResponseParser::Progress::NeedMore) {
        size_t received = 0;
        if (!connection.receiveSome(chunk, sizeof chunk, received, response.error))
            return;
        progress = received == 0 ? parser.finish() : parser.feed(chunk, received);
    }
    if (progress == HttpResponseParser::Progress::Failed) {
        response.error = parser.error();
        return;
    }
    response.ok = true;
    response.status = parser.status();
    response.contentType = parser.contentType();
    response.body = parser.takeBody();
}

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
    if (request.cancelled) {
        curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, &cancelWhileConnecting);
        curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, const_cast<std::atomic<bool> *>(request.cancelled));
        curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
    }
    const CURLcode rc = curl_easy_perform(curl.get());
    if (rc != CURLE_OK) {
        response.error = rc == CURLE_ABORTED_BY_CALLBACK ? kCancelled : QString::fromUtf8(curl_easy_strerror(rc));
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

    Connection connection(curl.get(), socket, deadline, request.cancelled);
    if (!connection.sendAll(wire, response.error))
        return response;
    readResponse(connection, request.maxBodyBytes, response);
    return response;
}
