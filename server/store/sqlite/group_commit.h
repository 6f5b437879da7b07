// Writes from many threads committed together. The writes that queued while the batch before
// was committing run one after the other in one shared transaction, without savepoints (opening
// one would make the keyword index flush a segment per write), so the commit's cost (the log
// frames, the search index's new segment and the merging it sets off) is paid once for all of
// them. When one write fails, the transaction is undone and the others are run again without
// it. A caller returns only after the transaction holding its write has committed.
#pragma once

#include "store/sqlite/sqlite_connection.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace qinglan::caseservice {

class GroupCommit {
public:
    using Write = std::function<void(SqliteConnection&)>;
    // Gives the connection a batch is written on, on the calling thread; may throw (then every
    // write of that batch fails with it).
    using Connect = std::function<SqliteConnection&()>;

    // writerLock is held while a batch is written, so that what writes outside the batches
    // (a checkpoint) waits for it.
    // gatherTime: how long a committer may wait for as many writes as its last batch had.
    explicit GroupCommit(std::mutex& writerLock, std::size_t largestBatch = 64,
                         std::chrono::microseconds gatherTime = std::chrono::microseconds(500))
        : writerLock_(writerLock), largestBatch_(largestBatch), gatherTime_(gatherTime) {}

    // Runs the write with others, on the connection connect() gives on whichever thread
    // commits the batch. Returns once it is committed; throws what the write threw (its own
    // changes undone, the others' kept) or the commit's error (nothing of the batch stored).
    void run(const Write& write, const Connect& connect);

    // Writes waiting for a batch.
    std::size_t waiting() const;
    // Returns once `count` writes wait for a batch (for tests).
    void awaitWaiting(std::size_t count) const;

private:
    struct Pending {
        const Write* write = nullptr;
        std::exception_ptr error;
        bool done = false;
        // Each waiter is woken by itself: when its write is done, or when it is first in the
        // queue and nobody is committing. Waking all at every commit cost more than the writes.
        std::condition_variable wake;
    };
    void commitBatch(std::deque<Pending*>& batch, const Connect& connect);

    std::mutex& writerLock_;
    const std::size_t largestBatch_;
    const std::chrono::microseconds gatherTime_;
    mutable std::mutex mutex_;
    std::deque<Pending*> queue_;
    bool committing_ = false;
    std::size_t lastBatch_ = 0;  // writes in the batch committed last
    bool gathering_ = false;     // a committer waits for writes to join its batch
    std::condition_variable gathered_;
    mutable std::condition_variable queued_;  // a write joined the queue
};

}  // namespace qinglan::caseservice
