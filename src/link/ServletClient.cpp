#include "link/ServletClient.h"

#include "app/LaunchParams.h"
#include "link/RequestToken.h"
#include "link/ServletResult.h"

namespace {
const QByteArray kUserAgent = QByteArrayLiteral("Plendor");
}

QString servletUrl(const ServletAddress &address, const QString &operation, const QString &extraQuery,
                   const QString &token)
{
    return QStringLiteral("http://") + address.host + QLatin1Char(':') + QString::number(address.port) +
           QStringLiteral("/ReportServlet?operation=") + operation + extraQuery + QStringLiteral("&SESSION=") + token;
}

ServletAddress launchServletAddress() { return {launchParams().Host, launchParams().Port}; }

QString ServletClient::token() const { return m_fixedToken.isEmpty() ? MakeRequestToken(QString()) : m_fixedToken; }

HttpRequest ServletClient::makeRequest(const QString &operation, const QString &extraQuery) const
{
    HttpRequest request;
    request.host = m_address.host;
    request.port = m_address.port;
    request.timeout = m_timeout;
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
                       {"Host", m_address.host.toUtf8()},
                       {"Content-Type", "content=text/html;charset=ANSI"},
                       {"Cookie", "JSESSIONID=" + session.toUtf8()},
                       {"Content-Length", QByteArray::number(body.size())}};
    request.body = body;
    return performHttp(request);
}

std::optional<ResultTable> ServletClient::QueryServer(const QString &sql) const
{
    QByteArray answer;
    if (!PostToServlet(QStringLiteral("sql"), MakeRequestToken(sql).toLatin1(), QString(), answer))
        return std::nullopt;
    QString message;
    return ParseServletResult(answer, message);
}
