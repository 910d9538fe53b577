// The whole HTTP exchange: a server on 127.0.0.1 sends the input as its answer and closes, so
// the request, the connection and the answer's parser meet exactly what a broken or hostile
// server could send. (fuzz_http_parser tries the parser alone, fed in pieces.)

#include "FuzzSupport.h"
#include "link/HttpExchange.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

class AnswerServer {
public:
    AnswerServer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        fuzz::expect("bind a loopback port",
                     ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                         ::listen(m_listener, 4) == 0 &&
                         ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        m_port = ntohs(address.sin_port);
        std::thread([this] { serve(); }).detach();
    }

    int port() const { return m_port; }

    void setAnswer(const QByteArray &answer)
    {
        std::lock_guard lock(m_mutex);
        m_answer = answer;
    }

private:
    void serve()
    {
        for (;;) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0)
                continue;
            // The request first, so that closing never resets a connection with unread bytes.
            QByteArray request;
            char buffer[4096];
            while (!request.contains("\r\n\r\n")) {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, n);
            }
            QByteArray answer;
            {
                std::lock_guard lock(m_mutex);
                answer = m_answer;
            }
            for (qsizetype sent = 0; sent < answer.size();) {
                const ssize_t n = ::send(client, answer.constData() + sent, static_cast<size_t>(answer.size() - sent),
                                         MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += n;
            }
            ::shutdown(client, SHUT_WR);
            while (::recv(client, buffer, sizeof buffer, 0) > 0) {
            }
            ::close(client);
        }
    }

    int m_listener = -1;
    int m_port = 0;
    std::mutex m_mutex;
    QByteArray m_answer;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static AnswerServer server;
    const QByteArray answer = fuzz::bytes(data, size);
    server.setAnswer(answer);

    HttpRequest request;
    request.host = QStringLiteral("127.0.0.1");
    request.port = server.port();
    request.target = "/ReportServlet?operation=sql";
    request.timeout = std::chrono::seconds(10);
    const HttpResponse response = performHttp(request);

    fuzz::expect("a failed exchange says why", response.ok || !response.error.isEmpty());
    if (!response.ok)
        return 0;
    fuzz::expect("a complete answer starts with a status line", answer.startsWith("HTTP/"));
    fuzz::expect("interim answers are skipped", response.status >= 200);
    fuzz::expect("the body is never longer than the answer", response.body.size() <= answer.size());
    if (!answer.toLower().contains("chunked"))
        fuzz::expect("a body not in chunks is a piece of the answer", answer.contains(response.body));
    return 0;
}
