#include "store/sqlite/sqlite_case_repository.h"

#include "store/sqlite/sqlite_file_checks.h"
#include "store/sqlite/sqlite_schema.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace qinglan::caseservice {

SqliteCaseRepository::SqliteCaseRepository(std::string path, StoreSettings settings)
    : path_(std::move(path)), settings_(settings) {
    if (!looksLikeSqlite(path_))
        throw std::runtime_error(path_ +
                                 " is not an SQLite database; give --db a case-service database or the name "
                                 "of a new file");
    const std::string readOnly = path_ + " cannot be written (read-only file or folder)";
    // An existing file the service may not write (or whose folder, where the log goes, it may
    // not write) is refused as such before SQLite fails at it with a less telling reason.
    if (std::filesystem::exists(path_)) {
        const auto folder = std::filesystem::absolute(path_).parent_path();
        if (::access(path_.c_str(), W_OK) != 0 || ::access(folder.c_str(), W_OK) != 0)
            throw std::runtime_error(readOnly);
    }
    if (const auto reason = foreignDatabaseReason(path_); !reason.empty()) throw std::runtime_error(reason);
    {
        // The one connection that may create the file.
        std::lock_guard lock(mutex_);
        connections_[std::this_thread::get_id()] = std::make_unique<SqliteConnection>(
            path_, OpenMode::CreateWhenMissing, QueryLimits{settings_.queryTimeLimit, &stopping_});
    }
    auto& db = connection();
    if (db.readOnly()) throw std::runtime_error(readOnly);
    startQueryClock(std::chrono::hours(24));  // building the search index of an old file may take long
    createOrMigrateSqliteSchema(db, path_);
    if (auto size = db.prepare("PRAGMA page_size"); size.step()) pageSize_ = size.integer(0);
    const auto identity = currentIdentity();
    if (!identity) throw std::runtime_error(path_ + " disappeared while it was being opened");
    identity_ = *identity;
    maintenanceConnection_ = std::make_unique<SqliteConnection>(path_, OpenMode::ExistingOnly);
    maintenance_ = std::thread([this] { maintenanceLoop(); });
}

SqliteCaseRepository::~SqliteCaseRepository() {
    {
        std::lock_guard lock(maintenanceMutex_);
        maintenanceStop_ = true;
    }
    maintenanceWake_.notify_all();
    if (maintenance_.joinable()) maintenance_.join();
}

std::optional<FileIdentity> SqliteCaseRepository::currentIdentity() const { return fileIdentity(path_); }

void SqliteCaseRepository::checkFileBeforeWriting() {
    if (currentIdentity() == identity_) {
        if (fileLost_.exchange(false)) std::cerr << "qinglan-caseservice: " << path_ << " is back; writes resume\n";
        return;
    }
    if (!fileLost_.exchange(true))
        std::cerr << "qinglan-caseservice: " << path_
                  << " is missing or was replaced by another file; every write is refused until the original "
                     "file is back (restart the service to use a new one)\n";
    throw std::runtime_error("database file " + path_ + " is missing or replaced; write refused");
}

std::unique_ptr<SqliteConnection> SqliteCaseRepository::openConnection() const {
    // A connection opened on a file put in place of ours would switch that file to WAL mode
    // beside our log and stay pointed at it; only the original file is opened.
    const auto refuseForeignFile = [this] {
        if (currentIdentity() != identity_)
            throw std::runtime_error("database file " + path_ + " is missing or replaced; not opened");
    };
    refuseForeignFile();
    return std::make_unique<SqliteConnection>(path_, OpenMode::ExistingOnly,
                                              QueryLimits{settings_.queryTimeLimit, &stopping_}, refuseForeignFile);
}

SqliteConnection& SqliteCaseRepository::connection() {
    startQueryClock(settings_.queryTimeLimit);
    std::lock_guard lock(mutex_);
    auto& slot = connections_[std::this_thread::get_id()];
    if (!slot) slot = openConnection();
    return *slot;
}

SqliteConnection& SqliteCaseRepository::writeConnection() {
    checkFileBeforeWriting();
    startQueryClock(settings_.queryTimeLimit);
    // Every batch is written on one connection, whichever thread commits it: its page cache
    // stays valid from one batch to the next, where a thread's own connection would find its
    // cache outdated by the others' commits and read every page again.
    if (!writer_) {
        writer_ = openConnection();
        writer_->execute("PRAGMA cache_size=-65536");  // taken only as pages are used
        sqlite3_wal_hook(
            writer_->handle(),
            [](void* frames, sqlite3*, const char*, int count) {
                static_cast<std::atomic<std::int64_t>*>(frames)->store(count);
                return SQLITE_OK;
            },
            &logFrames_);
    }
    return *writer_;
}

void SqliteCaseRepository::write(const GroupCommit::Write& change) {
    checkpointIfLarger(connection(), kWriterCheckpointFactor * settings_.walCheckpointBytes);
    ++writesSinceIndexMerge_;
    lastWrite_ = std::chrono::steady_clock::now().time_since_epoch().count();
    groupCommit_.run(change, [this]() -> SqliteConnection& { return writeConnection(); });
}

}  // namespace qinglan::caseservice
