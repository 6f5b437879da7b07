// One SQLite connection with its prepared statements kept for reuse. Used by one thread at a time.
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qinglan::caseservice {

// Thrown when a statement was interrupted: past its time limit, or the service is stopping.
class QueryInterrupted : public std::runtime_error {
public:
    QueryInterrupted() : std::runtime_error("statement stopped: past its time limit") {}
};

// A cached prepared statement, reset and cleared of bindings when the guard ends.
class Statement {
public:
    explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, const std::string& value);
    Statement& bindNull(int index);

    bool step();  // true while a row is available; throws on error (QueryInterrupted when cut short)
    void run();   // steps to the end

    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    std::string text(int column) const;

private:
    sqlite3_stmt* stmt_;
};

// How long the statements of one store call may run on this thread; past it SQLite
// interrupts them (the call then throws). Also interrupted at once while *stopping is true.
struct QueryLimits {
    std::chrono::milliseconds timeLimit{2000};
    const std::atomic<bool>* stopping = nullptr;
};

// Starts the time of a store call on this thread.
void startQueryClock(std::chrono::milliseconds timeLimit);

enum class OpenMode { CreateWhenMissing, ExistingOnly };

class SqliteConnection {
public:
    // Throws std::runtime_error (the handle closed) when the file cannot be opened as an
    // SQLite database in WAL mode. checkOpened runs once the file is open and before anything
    // is read or written; an exception from it closes the handle and is passed on.
    SqliteConnection(const std::string& path, OpenMode mode, QueryLimits limits = {},
                     const std::function<void()>& checkOpened = {});
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    void execute(const char* sql);
    Statement prepare(const std::string& sql);
    std::int64_t lastInsertId() const { return sqlite3_last_insert_rowid(db_); }
    int changes() const { return sqlite3_changes(db_); }
    // False once a transaction has ended, also when SQLite ended it itself after an error.
    bool inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }
    bool readOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }
    sqlite3* handle() const { return db_; }

private:
    static int onProgress(void* self);
    void close();

    sqlite3* db_ = nullptr;
    QueryLimits limits_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when left by an exception.
// While it lives, the connection waits for a lock in steps of a tenth of a millisecond, at
// most the given time in all, instead of SQLite's steps of one millisecond and more; then the
// usual busy timeout is back.
class ShortBusyWaits {
public:
    ShortBusyWaits(SqliteConnection& connection, std::chrono::milliseconds atMost);
    ~ShortBusyWaits();
    ShortBusyWaits(const ShortBusyWaits&) = delete;
    ShortBusyWaits& operator=(const ShortBusyWaits&) = delete;

private:
    static int wait(void* self, int attempts);
    SqliteConnection& connection_;
    std::chrono::steady_clock::time_point until_;
};

class WriteTransaction {
public:
    explicit WriteTransaction(SqliteConnection& connection);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    SqliteConnection& connection_;
    bool done_ = false;
};

}  // namespace qinglan::caseservice
