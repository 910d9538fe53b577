#include "link/ServletClient.h"

#include "link/RequestToken.h"
#include "link/ServletResult.h"

namespace {
const QByteArray kUserAgent = QByteArrayLiteral("Plendor");
}

QString servletUrl(const ServletSession &session, const QString &operation, const QString &extraQuery,
                   const QString &token)
{
    return QStringLiteral("http://") + session.Host + QLatin1Char(':') + QString::number(session.Port) +
           QStringLiteral("/ReportServlet?operation=") + operation + extraQuery + QStringLiteral("&SESSION=") + token;
}

QString ServletClient::token() const { return m_fixedToken.isEmpty() ? MakeRequestToken(QString(), m_session) : m_fixedToken; }

HttpRequest ServletClient::makeRequest(const QString &operation, const QString &extraQuery) const
{
    HttpRequest request;
    request.host = m_session.Host;
    request.port = m_session.Port;
    request.timeout = m_timeout;
    request.maxBodyBytes = m_limits.maxBodyBytes;
    request.cancelled = m_cancelled;
    request.target = encodeRequestTarget(QStringLiteral("/ReportServlet?operation=") + operation + extraQuery +
                                         QStringLiteral("&SESSION=") + token());
    return request;
}

bool ServletClient::PostToServlet(const QString &operation, const QByteArray &body, const QString &extraQuery,
                                  QByteArray &response) const
{
    HttpRequest request = makeRequest(operation, extraQuery);
    request.headers = {{"Accept", "*/*"},
                       {"User-Agent", kUserAgent},
                       {"Host", "localhost"},
                       {"Content-Type", "content=text/html;charset=utf-8"},
                       {"Content-Length", QByteArray::number(body.size())}};
    request.body = body;
    const HttpResponse answer = performHttp(request);
    if (!answer.ok)
        return false;
    response = answer.body;
    return true;
}

HttpResponse ServletClient::PostToServletWithCookie(const QString &operation, const QByteArray &body,
                                                    const QString &extraQuery, const QString &session) const
{
    HttpRequest request = makeRequest(operation, extraQuery);
    request.headers = {{"Accept", "*/*"},
                       {"User-Agent", kUserAgent},
                       {"Host", m_session.Host.toUtf8()},
                       {"Content-Type", "content=text/html;charset=ANSI"},
                       {"Cookie", "JSESSIONID=" + session.toUtf8()},
                       {"Content-Length", QByteArray::number(body.size())}};
    request.body = body;
    return performHttp(request);
}

std::optional<ResultTable> ServletClient::QueryServer(const QString &sql) const
{
    // The wait for the answer and its reading share one deadline.
    const auto deadline = std::chrono::steady_clock::now() + m_timeout;
    QByteArray answer;
    if (!PostToServlet(QStringLiteral("sql"), MakeRequestToken(sql, m_session).toLatin1(), QString(), answer))
        return std::nullopt;
    QString message;
    return ParseServletResult(answer, message, m_limits.maxCells, deadline);
}
