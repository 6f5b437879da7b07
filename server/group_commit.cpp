#include "group_commit.h"

#include <algorithm>
#include <iterator>

namespace qinglan::caseservice {

void GroupCommit::run(const Write& write, const Connect& connect) {
    Pending mine;
    mine.write = &write;
    std::unique_lock lock(mutex_);
    queue_.push_back(&mine);
    while (!mine.done) {
        if (committing_) {
            mine.wake.wait(lock);
            continue;
        }
        committing_ = true;
        const auto end = queue_.begin() + static_cast<std::ptrdiff_t>(std::min(queue_.size(), largestBatch_));
        std::deque<Pending*> batch(queue_.begin(), end);
        queue_.erase(queue_.begin(), end);
        lock.unlock();
        commitBatch(batch, connect);
        lock.lock();
        committing_ = false;
        for (Pending* pending : batch) {
            pending->done = true;
            pending->wake.notify_one();
        }
        if (!queue_.empty()) queue_.front()->wake.notify_one();
    }
    if (mine.error) std::rethrow_exception(mine.error);
}

std::size_t GroupCommit::waiting() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void GroupCommit::commitBatch(std::deque<Pending*>& batch, const Connect& connect) {
    std::lock_guard writing(writerLock_);
    SqliteConnection* db = nullptr;
    try {
        db = &connect();
    } catch (...) {
        for (Pending* pending : batch) pending->error = std::current_exception();
        return;
    }
    // A failed write normally leaves the others' work in the transaction. Some failures (an
    // interrupted statement, a full disk) make SQLite roll the whole transaction back: the
    // writes that had gone well are then run again in a new one, without the failed write.
    std::deque<Pending*> remaining = batch;
    while (!remaining.empty()) {
        bool transactionLost = false;
        std::deque<Pending*> written;
        try {
            WriteTransaction transaction(*db);
            for (Pending* pending : remaining) {
                db->execute("SAVEPOINT one_write");
                try {
                    (*pending->write)(*db);
                    db->execute("RELEASE one_write");
                    written.push_back(pending);
                } catch (...) {
                    pending->error = std::current_exception();
                    if (db->inTransaction()) {
                        db->execute("ROLLBACK TO one_write");
                        db->execute("RELEASE one_write");
                    } else {
                        transactionLost = true;
                        break;
                    }
                }
            }
            if (!transactionLost) {
                transaction.commit();
                return;
            }
        } catch (...) {  // beginning, a savepoint or the commit failed: nothing was stored
            for (Pending* pending : remaining)
                if (!pending->error) pending->error = std::current_exception();
            return;
        }
        // Run again what had been written before the transaction was lost, and what came after.
        std::deque<Pending*> again;
        std::copy_if(remaining.begin(), remaining.end(), std::back_inserter(again),
                     [](const Pending* pending) { return !pending->error; });
        remaining.swap(again);
    }
}

}  // namespace qinglan::caseservice
