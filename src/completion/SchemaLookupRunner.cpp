#include "completion/SchemaLookupRunner.h"

#include <QThread>
#include <algorithm>

struct SchemaLookupRunner::Job {
    std::atomic<bool> cancelled{false};
    Work work;
    Done done;
    QString list; // written by the worker before its thread finishes, read after
};

SchemaLookupRunner::SchemaLookupRunner(QObject *parent) : QObject(parent) {}

SchemaLookupRunner::~SchemaLookupRunner()
{
    for (auto &[job, thread] : m_running)
        job->cancelled = true;
    for (auto &[job, thread] : m_running) {
        thread->wait();
        delete thread;
    }
}

void SchemaLookupRunner::start(Work work, Done done)
{
    cancel();
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    job->done = std::move(done);
    QThread *thread = QThread::create([job] {
        try {
            job->list = job->work(job->cancelled);
        } catch (...) {
            job->list.clear(); // a failing lookup is the empty list
        }
    });
    connect(thread, &QThread::finished, this, [this, job] { finished(job); });
    m_running.emplace_back(job, thread);
    m_current = job;
    thread->start();
    emit busyChanged(true);
}

void SchemaLookupRunner::cancel()
{
    if (!m_current)
        return;
    m_current->cancelled = true;
    m_current.reset();
    emit busyChanged(false);
}

void SchemaLookupRunner::finished(const std::shared_ptr<Job> &job)
{
    const auto it = std::find_if(m_running.begin(), m_running.end(), [&](const auto &r) { return r.first == job; });
    if (it != m_running.end()) {
        it->second->deleteLater();
        m_running.erase(it);
    }
    if (job != m_current || job->cancelled)
        return;
    m_current.reset();
    emit busyChanged(false);
    if (job->done)
        job->done(job->list);
}
