#pragma once
// A real HTTP server on 127.0.0.1 for one test: it records every byte of each request and
// answers with scripted bytes, sent at once or a byte at a time or followed by an endless flood,
// or stalls, or closes without answering.

#include <QByteArray>
#include <QList>
#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A socket bound to 127.0.0.1 on a free port; the port is written to *port.
inline int bindLoopback(int *port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr *>(&addr), &len);
    *port = ntohs(addr.sin_port);
    return s;
}

class TestHttpServer {
public:
    // Trickle: the first sentAtOnce bytes of the reply at once, then one byte every 20 ms.
    // Flood: the reply, then the filler again and again until the client goes away (64 MiB at most).
    // Hold: the reply once the test calls release() (for every request after that, at once).
    enum class Mode { Answer, Stall, Close, Trickle, Flood, Hold };
    struct Script { QByteArray reply{}; Mode mode = Mode::Answer; qsizetype sentAtOnce = 0; QByteArray filler{}; };

    // A status and body as a server sends them, in one piece or in seven-byte chunks.
    static QByteArray answer(int status, const QByteArray &body, bool chunked = false)
    {
        QByteArray raw = "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: text/xml\r\n";
        if (!chunked)
            return raw + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        raw += "Transfer-Encoding: chunked\r\n\r\n";
        for (qsizetype i = 0; i < body.size(); i += 7)
            raw += QByteArray::number(body.mid(i, 7).size(), 16) + "\r\n" + body.mid(i, 7) + "\r\n";
        return raw + "0\r\n\r\n";
    }

    explicit TestHttpServer(QByteArray reply = answer(200, "<data result=\"ok\"/>")) : TestHttpServer(Script{.reply = reply}) {}
    explicit TestHttpServer(Mode mode) : TestHttpServer(Script{.mode = mode}) {}
    explicit TestHttpServer(Script script) : m_script(std::move(script))
    {
        m_listen = bindLoopback(&m_port);
        ::listen(m_listen, 8);
        m_thread = std::thread([this] { serve(); });
    }
    ~TestHttpServer()
    {
        m_stop = true;
        ::shutdown(m_listen, SHUT_RDWR);
        ::close(m_listen);
        m_thread.join();
    }

    int port() const { return m_port; }
    void release() { m_released = true; }
    // Replies sent (or attempted, when the client had gone).
    int answered() const { return m_answered; }
    QList<QByteArray> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void serve()
    {
        const Script &s = m_script;
        while (!m_stop) {
            pollfd p{m_listen, POLLIN, 0};
            const int client = ::poll(&p, 1, 100) > 0 ? ::accept(m_listen, nullptr, nullptr) : -1;
            if (client < 0)
                continue;
            const QByteArray request = readRequest(client);
            {
                std::lock_guard lock(m_mutex);
                m_requests << request;
            }
            if (s.mode == Mode::Hold) {
                while (!m_stop && !m_released)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                sendAll(client, s.reply);
            } else if (s.mode == Mode::Answer) {
                sendAll(client, s.reply);
            } else if (s.mode == Mode::Trickle && sendAll(client, s.reply.left(s.sentAtOnce))) {
                for (qsizetype i = s.sentAtOnce; i < s.reply.size() && sendAll(client, s.reply.mid(i, 1)); ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            } else if (s.mode == Mode::Flood && sendAll(client, s.reply) && !s.filler.isEmpty()) {
                for (qsizetype sent = 0; sent < 64 * 1024 * 1024 && sendAll(client, s.filler); sent += s.filler.size()) {
                }
            } else if (s.mode == Mode::Stall) {
                while (!m_stop)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            ::close(client);
            ++m_answered;
        }
    }

    // False once the client has gone away or the server is stopping.
    bool sendAll(int client, const QByteArray &bytes) const
    {
        for (qsizetype sent = 0; sent < bytes.size();) {
            pollfd p{client, POLLOUT, 0};
            if (m_stop)
                return false;
            if (::poll(&p, 1, 100) <= 0)
                continue;
            const ssize_t n =
                ::send(client, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += n;
        }
        return true;
    }

    // Reads until the headers and the body they announce have arrived, or the client goes quiet.
    static QByteArray readRequest(int client)
    {
        QByteArray data;
        char buf[4096];
        pollfd p{client, POLLIN, 0};
        for (;;) {
            const qsizetype headerEnd = data.indexOf("\r\n\r\n");
            if (headerEnd >= 0 && data.size() >= headerEnd + 4 + contentLength(data.left(headerEnd)))
                return data;
            const ssize_t n = ::poll(&p, 1, 2000) > 0 ? ::recv(client, buf, sizeof buf, 0) : 0;
            if (n <= 0)
                return data;
            data.append(buf, n);
        }
    }

    static qsizetype contentLength(const QByteArray &headers)
    {
        for (const QByteArray &line : headers.split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                return line.mid(15).trimmed().toLongLong();
        }
        return 0;
    }

    const Script m_script; // fixed before the serving thread starts
    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_released{false};
    std::atomic<int> m_answered{0};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_requests;
};

// A port on 127.0.0.1 where nothing listens.
inline int refusedPort()
{
    int port = 0;
    ::close(bindLoopback(&port));
    return port;
}
