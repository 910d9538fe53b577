#pragma once
// Output written through a pointer: an HTML body is made of millions of small pieces, and
// QByteArray's per-append checks would dominate. In memory it grows by doubling; to a device it
// is written a buffer at a time, so that a large export never exists whole in memory.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <cstring>

class HtmlSink {
public:
    explicit HtmlSink(qsizetype expected, QIODevice *device = nullptr)
        : m_bytes(qMax<qsizetype>(expected, 256), Qt::Uninitialized), m_device(device)
    {
    }

    // Where the next n bytes go; advance() then says how many were written.
    char *room(qsizetype n)
    {
        if (m_used + n > m_bytes.size()) {
            if (m_device)
                flush();
            if (m_used + n > m_bytes.size())
                m_bytes.resize(qMax(m_bytes.size() * 2, m_used + n));
        }
        return m_bytes.data() + m_used;
    }
    void advance(qsizetype n) { m_used += n; }
    // False once a write to the device failed.
    bool flush()
    {
        if (m_device && m_used > 0 && m_device->write(m_bytes.constData(), m_used) != m_used)
            m_failed = true;
        m_used = 0;
        return !m_failed;
    }
    void put(const char *p, qsizetype n)
    {
        std::memcpy(room(n), p, static_cast<size_t>(n));
        m_used += n;
    }
    void put(QByteArrayView v) { put(v.data(), v.size()); }
    QByteArray take()
    {
        m_bytes.truncate(m_used);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_used = 0;
    QIODevice *m_device;
    bool m_failed = false;
};
