#pragma once
// Recovery files whose editor is no longer running, found at start-up. Each one found is
// claimed: its editor's lock is taken and held while it is offered, so that another editor
// starting at the same time leaves it alone, and a running editor's file is never taken.

#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryRecord.h"

#include <functional>
#include <vector>

namespace recovery {

struct OrphanedRecovery {
    QString path;
    RecoveryRecord record;
    OwnerLock lock;

    // Deletes the file, then its lock.
    void remove();
};

// The files a recovery file of ours may be at most; a larger one is not offered.
constexpr qint64 kLargestRecoveryFile = qint64(1) << 31;

// Newest first. A corrupt or foreign file is told to log in one line and left where it is;
// the locks and unfinished writes of editors that are gone are cleaned away.
std::vector<OrphanedRecovery> claimOrphans(const QString &folder, const std::function<void(const QString &)> &log);

} // namespace recovery
