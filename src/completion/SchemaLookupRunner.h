#pragma once
// Runs schema lookups away from the user-interface thread, one at a time: starting a lookup
// cancels the one before it, and a cancelled lookup never reports. A lookup is told through its
// flag when it is cancelled and should give up soon (a servlet request does; a database query
// runs to its end and is dropped).

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;

class SchemaLookupRunner : public QObject {
    Q_OBJECT
public:
    // Runs on a worker thread and gives the list; cancelled turns true when it is no longer wanted.
    using Work = std::function<QString(const std::atomic<bool> &cancelled)>;
    // Runs on the user-interface thread with the list of a lookup that was not cancelled.
    using Done = std::function<void(const QString &list)>;

    explicit SchemaLookupRunner(QObject *parent = nullptr);
    // Cancels what runs and waits for the workers to end.
    ~SchemaLookupRunner() override;

    void start(Work work, Done done);
    // The current lookup, if any, ends without reporting.
    void cancel();
    bool isBusy() const { return static_cast<bool>(m_current); }

signals:
    void busyChanged(bool busy);

private:
    struct Job;
    void finished(const std::shared_ptr<Job> &job);

    std::shared_ptr<Job> m_current;
    std::vector<std::pair<std::shared_ptr<Job>, QThread *>> m_running;
};
