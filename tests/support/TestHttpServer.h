#pragma once
// A real HTTP server on 127.0.0.1 for one test: it records every byte of each request and
// answers with scripted bytes, or stalls, or closes without answering.

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
    enum class Mode { Answer, Stall, Close };

    TestHttpServer()
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
    void setMode(Mode mode) { m_mode = mode; }
    void setAnswer(const QByteArray &raw)
    {
        std::lock_guard lock(m_mutex);
        m_answer = raw;
    }
    static QByteArray answer(int status, const QByteArray &body, bool chunked = false)
    {
        QByteArray raw = "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: text/xml\r\n";
        if (chunked) {
            raw += "Transfer-Encoding: chunked\r\n\r\n";
            for (qsizetype i = 0; i < body.size(); i += 7) {
                const QByteArray piece = body.mid(i, 7);
                raw += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
            }
            return raw + "0\r\n\r\n";
        }
        return raw + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    QList<QByteArray> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void serve()
    {
        while (!m_stop) {
            pollfd p{m_listen, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            const int client = ::accept(m_listen, nullptr, nullptr);
            if (client < 0)
                continue;
            const QByteArray request = readRequest(client);
            {
                std::lock_guard lock(m_mutex);
                m_requests << request;
            }
            if (m_mode == Mode::Answer) {
                QByteArray raw;
                {
                    std::lock_guard lock(m_mutex);
                    raw = m_answer;
                }
                ::send(client, raw.constData(), static_cast<size_t>(raw.size()), MSG_NOSIGNAL);
            } else if (m_mode == Mode::Stall) {
                while (!m_stop)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            ::close(client);
        }
    }

    static QByteArray readRequest(int client)
    {
        QByteArray data;
        char buf[4096];
        for (;;) {
            const qsizetype headerEnd = data.indexOf("\r\n\r\n");
            if (headerEnd >= 0) {
                qsizetype length = 0;
                for (const QByteArray &line : data.left(headerEnd).split('\n')) {
                    if (line.toLower().startsWith("content-length:"))
                        length = line.mid(15).trimmed().toLongLong();
                }
                if (data.size() >= headerEnd + 4 + length)
                    return data;
            }
            pollfd p{client, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                return data;
            const ssize_t n = ::recv(client, buf, sizeof buf, 0);
            if (n <= 0)
                return data;
            data.append(buf, n);
        }
    }

    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<Mode> m_mode{Mode::Answer};
    mutable std::mutex m_mutex;
    QByteArray m_answer = answer(200, "<data result=\"ok\"/>");
    QList<QByteArray> m_requests;
};

// A port on 127.0.0.1 where nothing listens.
inline int refusedPort()
{
    int port = 0;
    ::close(bindLoopback(&port));
    return port;
}
