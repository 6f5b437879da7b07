#include "store/sqlite/group_commit.h"

#include <algorithm>
#include <iterator>

namespace qinglan::caseservice {

void GroupCommit::run(const Write& write, const Connect& connect) {
    Pending mine;
    mine.write = &write;
    std::unique_lock lock(mutex_);
    queue_.push_back(&mine);
    queued_.notify_all();
    if (gathering_ && queue_.size() >= lastBatch_) gathered_.notify_one();
    while (!mine.done) {
        if (committing_) {
            mine.wake.wait(lock);
            continue;
        }
        committing_ = true;
        // When writes came together last time, the ones on their way are waited for a moment:
        // each commit costs far more than a write, and on a busy machine the others are often
        // only waiting for a processor to put themselves in the queue. A lone writer never waits.
        if (lastBatch_ > 1 && queue_.size() < lastBatch_) {
            gathering_ = true;
            gathered_.wait_for(lock, gatherTime_, [&] { return queue_.size() >= lastBatch_; });
            gathering_ = false;
        }
        const auto end = queue_.begin() + static_cast<std::ptrdiff_t>(std::min(queue_.size(), largestBatch_));
        std::deque<Pending*> batch(queue_.begin(), end);
        queue_.erase(queue_.begin(), end);
        lastBatch_ = batch.size();
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

void GroupCommit::awaitWaiting(std::size_t count) const {
    std::unique_lock lock(mutex_);
    queued_.wait(lock, [&] { return queue_.size() >= count; });
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
    // The writes run one after the other in one transaction, without savepoints between them:
    // opening a savepoint makes the keyword index flush its pending terms, a segment per write.
    // When a write fails, the transaction is undone and the writes that had gone well are run
    // again without it, together with those that came after.
    std::deque<Pending*> remaining = batch;
    while (!remaining.empty()) {
        try {
            WriteTransaction transaction(*db);
            bool failed = false;
            for (Pending* pending : remaining) {
                try {
                    (*pending->write)(*db);
                } catch (...) {
                    pending->error = std::current_exception();
                    failed = true;
                    break;
                }
            }
            if (!failed) {
                transaction.commit();
                return;
            }
        } catch (...) {  // beginning, undoing or the commit failed: nothing was stored
            for (Pending* pending : remaining)
                if (!pending->error) pending->error = std::current_exception();
            return;
        }
        std::deque<Pending*> again;
        std::copy_if(remaining.begin(), remaining.end(), std::back_inserter(again),
                     [](const Pending* pending) { return !pending->error; });
        remaining.swap(again);
    }
}

}  // namespace qinglan::caseservice
