#include "recovery/RecoverySession.h"

#include "platform/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace recovery {

std::unique_ptr<RecoverySession> RecoverySession::start(const QString &folder, QString *error)
{
    if (!ensurePrivateFolder(folder, error))
        return nullptr;
    const QString token = newToken();
    OwnerLock lock;
    if (!lock.take(QDir(folder).filePath(lockFileName(token)), error))
        return nullptr;
    return std::unique_ptr<RecoverySession>(new RecoverySession(folder, token, std::move(lock)));
}

RecoverySession::RecoverySession(QString folder, QString token, OwnerLock lock)
    : m_folder(std::move(folder)), m_token(std::move(token)), m_lock(std::move(lock))
{
    m_worker = std::thread([this] { run(); });
}

RecoverySession::~RecoverySession()
{
    discard();
    {
        std::lock_guard guard(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_worker.join();
    m_lock.releaseAndRemove();
}

QString RecoverySession::filePath() const { return QDir(m_folder).filePath(recoveryFileName(m_token)); }

void RecoverySession::save(RecoveryRecord record)
{
    record.owner = m_token;
    record.pid = ::getpid();
    record.writtenAt = QDateTime::currentDateTimeUtc();
    {
        std::lock_guard guard(m_mutex);
        m_pending = Job{false, std::move(record)};
    }
    m_wake.notify_all();
}

void RecoverySession::discard()
{
    {
        std::lock_guard guard(m_mutex);
        m_pending = Job{true, {}};
    }
    m_wake.notify_all();
}

void RecoverySession::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
}

void RecoverySession::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stopping; });
        if (!m_pending)
            return;
        const Job job = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        perform(job);
        lock.lock();
        m_busy = false;
        if (!m_pending)
            m_idle.notify_all();
    }
}

void RecoverySession::perform(const Job &job)
{
    const QString path = filePath();
    if (job.remove) {
        QFile::remove(path);
        return;
    }
    // The header, then the text as it is: no copy of a large text is made for the file.
    platform::AtomicFile file(path);
    QString error;
    const QByteArray header = recoveryHeader(job.record);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(header) == header.size() &&
                         file.write(job.record.text) == job.record.text.size() && file.commit();
    if (written) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return;
    }
    if (onWriteFailed)
        onWriteFailed(file.errorString());
}

} // namespace recovery
