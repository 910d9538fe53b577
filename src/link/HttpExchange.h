#pragma once
// One HTTP/1.1 POST written byte for byte as the platform's HTTP object writes it, sent over a
// connection that libcurl opens, with the whole exchange bounded in time.

#include "link/HttpResponseParser.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <atomic>
#include <chrono>

struct HttpRequest {
    QString host;
    int port = 80;
    QByteArray target; // path and query, already in request-line form
    QList<QPair<QByteArray, QByteArray>> headers; // in wire order
    QByteArray body;
    std::chrono::milliseconds timeout{30000};
    qint64 maxBodyBytes = HttpResponseParser::kMaxBodyBytes; // an answer past it fails
    // When set (by another thread), the exchange gives up within a moment; the caller keeps the
    // flag alive until performHttp returns.
    const std::atomic<bool> *cancelled = nullptr;
};

struct HttpResponse {
    bool ok = false;   // the exchange completed (whatever the status)
    QString error;     // why it did not
    int status = 0;
    QByteArray contentType;
    QByteArray body;
    bool isSuccess() const { return ok && status >= 200 && status < 300; }
};

HttpResponse performHttp(const HttpRequest &request);

// Characters that cannot stand in a request line (space, control, non-ASCII) as %XX of their
// UTF-8 bytes; everything else, "&" included, unchanged.
QByteArray encodeRequestTarget(const QString &target);
