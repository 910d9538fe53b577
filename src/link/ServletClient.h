#pragma once
// Requests to the platform's report servlet: queries (operation "sql") and uploads
// (operation "saveDefineFile"), each a synchronous POST bounded in time.

#include "link/HttpExchange.h"
#include "link/ResultTable.h"
#include "link/ServletSession.h"

#include <QString>
#include <chrono>
#include <optional>

// "http://" + host + ":" + port + "/ReportServlet?operation=" + operation + extraQuery + "&SESSION=" + token
QString servletUrl(const ServletSession &session, const QString &operation, const QString &extraQuery,
                   const QString &token);

// How much one answer may hold; tests lower the limits to reach them with small answers.
struct AnswerLimits {
    qint64 maxBodyBytes = HttpResponseParser::kMaxBodyBytes;
    qint64 maxCells = ResultTable::kMaxCells;
};

class ServletClient {
public:
    explicit ServletClient(ServletSession session, std::chrono::milliseconds timeout = std::chrono::seconds(30))
        : m_session(std::move(session)), m_timeout(timeout)
    {
    }

    // The query form: "Host" is "localhost"; the answer text goes to response. False when the
    // exchange failed (response left as it was).
    bool PostToServlet(const QString &operation, const QByteArray &body, const QString &extraQuery,
                       QByteArray &response) const;
    // The upload form: "Host" is the server's, with a session cookie. The whole exchange is returned.
    HttpResponse PostToServletWithCookie(const QString &operation, const QByteArray &body, const QString &extraQuery,
                                         const QString &session) const;

    // Runs SQL through the servlet; std::nullopt when the request or the answer failed.
    std::optional<ResultTable> QueryServer(const QString &sql) const;

    // The token placed in every request; tests fix it.
    QString token() const;
    void setFixedToken(const QString &token) { m_fixedToken = token; }
    void setAnswerLimits(const AnswerLimits &limits) { m_limits = limits; }
    // Requests give up soon after the flag is set (from any thread); it must outlive them.
    void setCancelFlag(const std::atomic<bool> *cancelled) { m_cancelled = cancelled; }

private:
    HttpRequest makeRequest(const QString &operation, const QString &extraQuery) const;

    ServletSession m_session;
    std::chrono::milliseconds m_timeout;
    QString m_fixedToken;
    AnswerLimits m_limits;
    const std::atomic<bool> *m_cancelled = nullptr;
};
