#pragma once
// An HTTP/1.1 answer read from bytes as they arrive: the status line and the headers, each line
// read once, then a body framed by Content-Length, chunked coding or the end of the connection.
// Headers and body are bounded, so that a broken or hostile server can neither grow memory
// without end nor make a cut or garbled answer pass for a complete one.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <utility>

class HttpResponseParser {
public:
    enum class Progress { NeedMore, Done, Failed };

    // The status line and header lines together, interim (1xx) answers included.
    static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;
    static constexpr qint64 kMaxBodyBytes = 256LL * 1024 * 1024;

    explicit HttpResponseParser(qint64 maxBodyBytes = kMaxBodyBytes);

    // Takes the next bytes from the connection. Once done or failed, further bytes are ignored
    // (what follows a complete answer is not part of it).
    Progress feed(const char *data, std::size_t size);
    // The server closed the connection: a body that runs to the end is complete now, anything
    // else was cut short.
    Progress finish();

    Progress progress() const { return m_progress; }
    // Why it failed, in words for the user.
    const QString &error() const { return m_error; }
    int status() const { return m_status; }
    const QByteArray &contentType() const { return m_contentType; }
    const QByteArray &body() const { return m_body; }
    QByteArray takeBody() { return std::exchange(m_body, QByteArray()); }

private:
    enum class Stage { StatusLine, Headers, FixedBody, BodyToClose, ChunkSize, ChunkData, ChunkEnd };

    const char *readLine(const char *from, const char *end);
    const char *readCounted(const char *from, const char *end);
    const char *readToClose(const char *from, const char *end);
    void onLine(const QByteArray &line);
    void onStatusLine(const QByteArray &line);
    void onHeaderLine(const QByteArray &line);
    void onContentLength(const QByteArray &value);
    void onHeadersEnd();
    void onChunkSize(const QByteArray &line);
    bool inHeaders() const { return m_stage == Stage::StatusLine || m_stage == Stage::Headers; }
    void fail(const QString &error);
    void failTooLarge();

    const qint64 m_maxBody;
    Progress m_progress = Progress::NeedMore;
    Stage m_stage = Stage::StatusLine;
    QString m_error;
    QByteArray m_line;       // the line being read, without its end
    qsizetype m_headerBytes = 0;
    bool m_interim = false;  // the answer being read is a 1xx one, and the real one follows it
    int m_status = 0;
    qint64 m_contentLength = -1;
    bool m_chunked = false;
    qint64 m_remaining = 0;  // of the fixed body or of the current chunk
    QByteArray m_contentType;
    QByteArray m_body;
};
