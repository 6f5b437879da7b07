// The store's upkeep beside the requests: the write-ahead log kept small, the keyword index's
// segments merged once writes pause, ended sessions removed.
#include "store/sqlite/sqlite_case_repository.h"

#include <sys/stat.h>

#include <algorithm>
#include <iostream>

namespace qinglan::caseservice {

namespace {

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::int64_t SqliteCaseRepository::logSize() const {
    struct stat wal {};
    return ::stat((path_ + "-wal").c_str(), &wal) == 0 ? static_cast<std::int64_t>(wal.st_size) : 0;
}

void SqliteCaseRepository::checkpointIfLarger(SqliteConnection& db, std::int64_t bytes) {
    if (logSize() <= bytes) return;
    // Writers wait for the lock meanwhile, so the checkpoint is not starved by them. TRUNCATE
    // then waits (within the busy timeout) for readers of older snapshots, copies the log into
    // the database and cuts it to nothing.
    std::lock_guard writing(writeMutex_);
    try {
        if (logSize() > bytes) db.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: checkpoint: " << e.what() << '\n';
    }
}

void SqliteCaseRepository::cutLog() {
    // Copies into the database what the log holds, beside the writers and without stopping
    // them. Then the writers wait while the little they wrote meanwhile is copied too, and the
    // next one starts the log over from its beginning: its blocks are written again rather
    // than given back and allocated anew. Readers of an older snapshot are waited for in short
    // steps; they read for a few milliseconds. Only when readers keep most of a large log from
    // being copied is a longer wait worth the writers' time.
    std::int64_t left = 0;
    try {
        auto passive = maintenanceConnection_->prepare("PRAGMA wal_checkpoint(PASSIVE)");
        if (passive.step()) left = passive.integer(1) - passive.integer(2);
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: checkpoint: " << e.what() << '\n';
        return;
    }
    const bool pinned = left * pageSize_ > kWriterCheckpointFactor / 2 * settings_.walCheckpointBytes;
    // A file grown past what the writers allow (one big transaction, an index built at start)
    // is cut to nothing rather than started over at its size.
    const bool oversized = logSize() > kWriterCheckpointFactor * settings_.walCheckpointBytes;
    std::lock_guard writing(writeMutex_);
    try {
        const ShortBusyWaits waits(*maintenanceConnection_, pinned || oversized ? std::chrono::milliseconds(5000)
                                                                                : std::chrono::milliseconds(200));
        auto restart = maintenanceConnection_->prepare(oversized ? "PRAGMA wal_checkpoint(TRUNCATE)"
                                                                 : "PRAGMA wal_checkpoint(RESTART)");
        if (restart.step() && restart.integer(0) == 0) {
            logFrames_ = 0;
            cutRetryAtFrames_ = 0;
        } else {
            // A reader still holds an older snapshot: the writers are not held again for it
            // before the log has grown by as much once more.
            cutRetryAtFrames_ = logFrames_.load() + settings_.walCheckpointBytes / pageSize_;
        }
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: checkpoint: " << e.what() << '\n';
    }
}

void SqliteCaseRepository::maintain() {
    // The maintenance thread and a direct call (tests) share the maintenance connection.
    std::lock_guard maintaining(maintainMutex_);
    startQueryClock(std::chrono::seconds(30));
    if (currentIdentity() != identity_) {
        if (!fileLost_.exchange(true))
            std::cerr << "qinglan-caseservice: " << path_
                      << " is missing or was replaced by another file; every write is refused\n";
        return;
    }
    const std::int64_t frames = logFrames_.load();
    if ((frames * pageSize_ > settings_.walCheckpointBytes && frames >= cutRetryAtFrames_) ||
        logSize() > kWriterCheckpointFactor * settings_.walCheckpointBytes)
        cutLog();
    mergeIndexWhenIdle();
    // Sessions end by the second; looking for ended ones once a second is enough.
    const std::int64_t now = nowSeconds();
    if (now == lastSessionSweep_) return;
    lastSessionSweep_ = now;
    try {
        maintenanceConnection_->prepare("DELETE FROM sessions WHERE expires <= ?1").bind(1, now).run();
        maintenanceConnection_->prepare("DELETE FROM device_tokens WHERE expires <= ?1").bind(1, now).run();
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: removing ended sessions: " << e.what() << '\n';
    }
}

void SqliteCaseRepository::maintenanceLoop() {
    std::unique_lock lock(maintenanceMutex_);
    while (!maintenanceStop_) {
        maintenanceWake_.wait_for(lock, settings_.maintenanceInterval, [this] { return maintenanceStop_; });
        if (maintenanceStop_) break;
        lock.unlock();
        maintain();
        lock.lock();
    }
}
void SqliteCaseRepository::mergeIndexWhenIdle() {
    // Every commit adds a segment to each keyword table, and a search reads every segment; the
    // tables' own merging keeps a few per level, which at a hundred thousand cases halves the
    // searches' speed. After a share of new writes (a twentieth of the cases, so that rewriting
    // the index costs each write little) and once nothing has been written for a while, the
    // segments are merged into one, a few pages at a time: a write that comes meanwhile waits
    // for one step at most.
    if (!indexMergeDue_ && writesSinceIndexMerge_ >= indexMergeAfter_) indexMergeDue_ = true;
    const auto idleFor =
        std::chrono::steady_clock::now().time_since_epoch() - std::chrono::steady_clock::duration(lastWrite_.load());
    if (!indexMergeDue_ || idleFor < settings_.indexMergeIdle) return;
    constexpr auto kStepTime = std::chrono::milliseconds(20);
    const auto stepUntil = std::chrono::steady_clock::now() + kStepTime;
    std::lock_guard writing(writeMutex_);
    sqlite3* handle = maintenanceConnection_->handle();
    try {
        bool merging = true;
        while (merging && groupCommit_.waiting() == 0 && std::chrono::steady_clock::now() < stepUntil) {
            merging = false;
            for (const char* table : {"case_grams_short", "case_grams"}) {
                const int before = sqlite3_total_changes(handle);
                maintenanceConnection_->execute(
                    (std::string("INSERT INTO ") + table + "(" + table + ", rank) VALUES('merge', -16)").c_str());
                // The merge command changes at least two rows when it found work to do.
                merging = merging || sqlite3_total_changes(handle) - before >= 2;
            }
        }
        if (!merging) {
            indexMergeDue_ = false;
            writesSinceIndexMerge_ = 0;
            auto newest = maintenanceConnection_->prepare("SELECT max(id) FROM gua_table");
            indexMergeAfter_ = std::max<std::int64_t>(1000, newest.step() ? newest.integer(0) / 20 : 0);
        }
    } catch (const std::exception& e) {
        std::cerr << "qinglan-caseservice: merging the keyword index: " << e.what() << '\n';
    }
}

}  // namespace qinglan::caseservice
