#pragma once
// One editor's place in the recovery folder: its lock, held while it runs, and its one recovery
// file, written and removed on a worker in the order asked, so that a write never holds up
// typing and a removal is never overtaken by a write that was already under way.

#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryRecord.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace recovery {

class RecoverySession {
public:
    // Takes a new token's lock in folder; nothing, with the cause in *error, when the folder
    // cannot be made or written.
    static std::unique_ptr<RecoverySession> start(const QString &folder, QString *error = nullptr);
    ~RecoverySession(); // waits for the worker, removes the file and the lock: a clean end

    const QString &token() const { return m_token; }
    QString filePath() const;

    // Writes the record (owner, process and time filled in) after whatever is under way; a
    // write still waiting is replaced.
    void save(RecoveryRecord record);
    // Removes the file after whatever is under way; a write still waiting is dropped.
    void discard();
    // Returns once nothing is waiting or under way.
    void waitIdle();

    // Told, on the worker, the cause of each write that failed.
    std::function<void(const QString &)> onWriteFailed;

private:
    RecoverySession(QString folder, QString token, OwnerLock lock);
    struct Job {
        bool remove = false;
        RecoveryRecord record;
    };
    void run();
    void perform(const Job &job);

    QString m_folder;
    QString m_token;
    OwnerLock m_lock;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_worker;
};

} // namespace recovery
