// The CaseRepository on one SQLite file: WAL journal, a busy timeout, and one connection per
// thread that uses the store (opened on the thread's first call, closed with the store).
// The file must be a case-service database (or new); only the first connection may create
// it. Writes are refused while the file at the path is missing or another file. Every
// store call's statements get a time limit. A maintenance thread keeps the write-ahead log
// small and drops ended sessions.
#pragma once

#include "store/case_repository.h"
#include "store/sqlite/group_commit.h"
#include "store/sqlite/sqlite_connection.h"
#include "store/sqlite/sqlite_file_checks.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace qinglan::caseservice {

struct StoreSettings {
    std::chrono::milliseconds queryTimeLimit{2000};
    std::chrono::milliseconds maintenanceInterval{50};
    std::int64_t walCheckpointBytes = 4 * 1024 * 1024;  // log size that triggers a truncating checkpoint
    // How long nothing must have been written before the keyword index's segments are merged.
    std::chrono::milliseconds indexMergeIdle{2000};
};

class SqliteCaseRepository final : public CaseRepository {
public:
    // Opens (creating when missing) the database file and its tables; throws
    // std::runtime_error saying what is wrong when the file is not a usable case-service
    // database (not SQLite, another program's database, read-only).
    explicit SqliteCaseRepository(std::string path, StoreSettings settings = {});
    ~SqliteCaseRepository() override;
    SqliteCaseRepository(const SqliteCaseRepository&) = delete;
    SqliteCaseRepository& operator=(const SqliteCaseRepository&) = delete;

    bool createUser(const AccountName& nm, const std::string& pwhash, const std::string& phone,
                    const std::string& email) override;
    std::optional<UserAccount> findUser(const std::string& nameKey) override;
    void replacePassword(std::int64_t user, const std::string& pwhash, const SessionRecord& fresh) override;

    void openSession(const SessionRecord& session, int keepAtMost) override;
    std::optional<std::int64_t> sessionUser(const std::string& tokenHash, const std::string& nameKey,
                                            std::int64_t now) override;
    void closeSession(const std::string& tokenHash) override;

    void addDevice(const DeviceRecord& device, int keepAtMost) override;
    std::optional<std::int64_t> rotateDeviceToken(const std::string& oldHash, const std::string& nameKey,
                                                  const std::string& newHash, std::int64_t now,
                                                  std::int64_t expires) override;
    std::vector<DeviceSummary> devices(std::int64_t user) override;
    bool removeDevice(std::int64_t user, std::int64_t device) override;

    std::int64_t insertCase(std::int64_t user, const CaseFields& fields) override;
    void saveTexts(std::int64_t user, const CaseFields& fields, TextsToSave which, const std::string& judgment,
                   const std::string& feedback) override;
    std::optional<StoredCase> loadCase(std::int64_t user, std::int64_t id) override;
    std::vector<CaseSummary> recentCases(std::int64_t user, int limit) override;
    std::vector<CaseSummary> searchCases(std::int64_t user, const std::string& keyword, int limit) override;
    std::vector<std::int64_t> years(std::int64_t user, CategoryFilter category) override;
    std::vector<std::int64_t> months(std::int64_t user, CategoryFilter category, std::int64_t year) override;
    std::vector<CaseSummary> casesOfMonth(std::int64_t user, CategoryFilter category, std::int64_t year,
                                          std::int64_t month, int limit) override;

    std::vector<Category> categories(std::int64_t user) override;
    void renameCategory(std::int64_t user, std::int64_t categoryId, const std::string& categoryName) override;

    std::int64_t storedBytes(std::int64_t user) override;
    NumberedTexts numberedTexts(std::int64_t user, const std::string& caseNumber) override;

    // Interrupts running statements and refuses new ones: for a prompt shutdown.
    void interruptQueries() override { stopping_ = true; }
    // Runs the log checkpoint and the session clean-up once (the maintenance thread does it
    // on its own; tests call it directly).
    void maintain();

    // Adds a new case with its texts and indexes them, on a connection inside a write
    // transaction; returns its id. The store's own saves use it, and so may a bulk loader.
    static std::int64_t insertRow(SqliteConnection& db, std::int64_t user, const CaseFields& fields,
                                  const std::string& judgment = {}, const std::string& feedback = {});

private:
    enum class IndexChange { Add, Remove };
    // Adds a case's texts, as they stand, to the keyword index or takes them out of it.
    static void indexTexts(SqliteConnection& db, std::int64_t id, IndexChange change);
    // A writer that finds the log this many times the maintenance threshold checkpoints it
    // itself before writing, should the maintenance thread fall behind.
    static constexpr std::int64_t kWriterCheckpointFactor = 4;
    std::unique_ptr<SqliteConnection> openConnection() const;
    SqliteConnection& connection();
    // The writers' connection, after checking that the path still names the file opened at
    // start; used while holding writeMutex_.
    SqliteConnection& writeConnection();
    // Runs the change in a transaction shared with the writes of other threads (see GroupCommit).
    void write(const GroupCommit::Write& change);
    std::optional<FileIdentity> currentIdentity() const;
    void checkFileBeforeWriting();
    std::int64_t logSize() const;
    void checkpointIfLarger(SqliteConnection& db, std::int64_t bytes);
    void cutLog();
    void maintenanceLoop();
    void mergeIndexWhenIdle();

    std::string path_;
    StoreSettings settings_;
    FileIdentity identity_;
    std::int64_t pageSize_ = 4096;
    // Frames in the log after the writers' last commit; the log file keeps its size when it
    // starts over, so the file's size does not tell.
    std::atomic<std::int64_t> logFrames_{0};
    std::int64_t cutRetryAtFrames_ = 0;  // maintenance only: after a cut readers kept from happening
    std::int64_t lastSessionSweep_ = 0;  // maintenance thread only
    // Writes since the keyword index was last merged into one segment, and when the last was.
    std::atomic<std::int64_t> writesSinceIndexMerge_{0};
    std::atomic<std::chrono::steady_clock::rep> lastWrite_{0};
    std::int64_t indexMergeAfter_ = 0;  // writes; maintenance thread only
    bool indexMergeDue_ = true;         // maintenance thread only: an index left by the last run may be in pieces
    std::atomic<bool> stopping_{false};
    std::atomic<bool> fileLost_{false};
    // One writer at a time within the service: writers queue here instead of polling SQLite's
    // write lock with the busy handler's sleeps, and a checkpoint takes it too.
    std::mutex writeMutex_;
    GroupCommit groupCommit_{writeMutex_};
    std::unique_ptr<SqliteConnection> writer_;  // under writeMutex_
    std::mutex mutex_;
    std::unordered_map<std::thread::id, std::unique_ptr<SqliteConnection>> connections_;
    std::unique_ptr<SqliteConnection> maintenanceConnection_;
    std::mutex maintenanceMutex_;
    std::mutex maintainMutex_;  // one maintain() at a time
    std::condition_variable maintenanceWake_;
    bool maintenanceStop_ = false;
    std::thread maintenance_;
};

}  // namespace qinglan::caseservice
