#include "store/sqlite/sqlite_connection.h"

#include <stdexcept>
#include <thread>

#include "text_search/char_gram_tokenizer.h"

namespace qinglan::caseservice {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

// The end of the current store call's time on this thread.
thread_local std::chrono::steady_clock::time_point queryDeadline = std::chrono::steady_clock::time_point::max();

constexpr int kBusyTimeoutMs = 5000;

// Virtual machine steps between two looks at the clock.
constexpr int kProgressSteps = 4000;

}  // namespace

void startQueryClock(std::chrono::milliseconds timeLimit) {
    queryDeadline = std::chrono::steady_clock::now() + timeLimit;
}

Statement::~Statement() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) fail(sqlite3_db_handle(stmt_), "bind");
    return *this;
}

Statement& Statement::bind(int index, const std::string& value) {
    if (sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail(sqlite3_db_handle(stmt_), "bind");
    return *this;
}

Statement& Statement::bindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) fail(sqlite3_db_handle(stmt_), "bind");
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    if (rc == SQLITE_INTERRUPT) throw QueryInterrupted();
    fail(sqlite3_db_handle(stmt_), "step");
}

void Statement::run() {
    while (step()) {
    }
}

std::string Statement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!data) return {};
    return std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

SqliteConnection::SqliteConnection(const std::string& path, OpenMode mode, QueryLimits limits,
                                   const std::function<void()>& checkOpened)
    : limits_(limits) {
    // The keyword index's tokenizer, which every connection writing cases needs.
    text_search::registerCharGramTokenizerEverywhere();
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == OpenMode::CreateWhenMissing) flags |= SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        close();
        throw std::runtime_error("cannot open " + path + ": " + message);
    }
    if (checkOpened) {
        try {
            checkOpened();
        } catch (...) {
            close();
            throw;
        }
    }
    try {
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        sqlite3_progress_handler(db_, kProgressSteps, &SqliteConnection::onProgress, this);
        execute("PRAGMA journal_mode=WAL");
        // In WAL mode NORMAL keeps the file consistent on a crash; only the last commits
        // before a power loss may be missing.
        execute("PRAGMA synchronous=NORMAL");
        execute("PRAGMA foreign_keys=ON");
        // A log that was allowed to grow is cut back to this size when it is reset.
        execute("PRAGMA journal_size_limit=16777216");
        // The store's maintenance thread checkpoints the log; commits never do it themselves.
        execute("PRAGMA wal_autocheckpoint=0");
    } catch (const std::exception& e) {
        close();
        throw std::runtime_error(path + ": " + e.what());
    }
}

SqliteConnection::~SqliteConnection() { close(); }

void SqliteConnection::close() {
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    statements_.clear();
    sqlite3_close(db_);
    db_ = nullptr;
}

int SqliteConnection::onProgress(void* self) {
    const auto& limits = static_cast<SqliteConnection*>(self)->limits_;
    if (limits.stopping && limits.stopping->load(std::memory_order_relaxed)) return 1;
    return std::chrono::steady_clock::now() > queryDeadline ? 1 : 0;
}

void SqliteConnection::execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(std::string("sqlite: ") + text);
    }
}

Statement SqliteConnection::prepare(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found == statements_.end()) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                               nullptr) != SQLITE_OK)
            fail(db_, "prepare");
        found = statements_.emplace(sql, stmt).first;
    }
    return Statement(found->second);
}

ShortBusyWaits::ShortBusyWaits(SqliteConnection& connection, std::chrono::milliseconds atMost)
    : connection_(connection), until_(std::chrono::steady_clock::now() + atMost) {
    sqlite3_busy_handler(connection_.handle(), &ShortBusyWaits::wait, this);
}

ShortBusyWaits::~ShortBusyWaits() { sqlite3_busy_timeout(connection_.handle(), kBusyTimeoutMs); }

int ShortBusyWaits::wait(void* self, int) {
    if (std::chrono::steady_clock::now() >= static_cast<ShortBusyWaits*>(self)->until_) return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
    return 1;
}

WriteTransaction::WriteTransaction(SqliteConnection& connection) : connection_(connection) {
    connection_.execute("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
    if (!done_) {
        try {
            connection_.execute("ROLLBACK");
        } catch (...) {
        }
    }
}

void WriteTransaction::commit() {
    connection_.execute("COMMIT");
    done_ = true;
}

}  // namespace qinglan::caseservice
