// One PostgreSQL connection (libpq) with its prepared statements, and the results it gives.
// Used by one thread at a time; cancel() may be called from any thread.
#pragma once

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qinglan::caseservice {

// A failed statement: the server's message and its SQLSTATE code ("" when the connection failed).
class PgError : public std::runtime_error {
public:
    PgError(const std::string& message, std::string sqlState)
        : std::runtime_error(message), sqlState_(std::move(sqlState)) {}
    const std::string& sqlState() const { return sqlState_; }
    // Cut short by statement_timeout or a cancel request.
    bool cancelled() const { return sqlState_ == "57014"; }

private:
    std::string sqlState_;
};

// A parameter: text, or nullopt for NULL.
using PgParam = std::optional<std::string>;

class PgResult {
public:
    PgResult() = default;
    explicit PgResult(PGresult* result) : result_(result, &PQclear) {}

    int rows() const { return result_ ? PQntuples(result_.get()) : 0; }
    int columns() const { return result_ ? PQnfields(result_.get()) : 0; }
    bool isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) == 1; }
    std::string text(int row, int column) const;
    std::int64_t integer(int row, int column) const;
    // The row count of an INSERT, UPDATE or DELETE.
    std::int64_t affected() const;

private:
    std::shared_ptr<PGresult> result_;
};

// A statement prepared once per connection under its name.
struct PgStatement {
    const char* name;
    const char* sql;
};

class PgConnection {
public:
    // Connects with the libpq connection string (a postgresql:// URI or key=value pairs);
    // throws std::runtime_error with libpq's reason. Every statement on the connection may run
    // for at most statementTimeout, and the server is asked to speak UTF-8.
    PgConnection(const std::string& conninfo, std::chrono::milliseconds statementTimeout);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // One or more statements without parameters.
    PgResult execute(const std::string& sql);
    // The statement with text parameters; prepared on this connection on first use.
    PgResult run(const PgStatement& statement, const std::vector<PgParam>& params);
    // Planned for these very parameters (a statement whose best plan depends on them),
    // rows read one at a time: onRow gets each as it arrives. When the statement is cut
    // short by its time limit the rows that came before stay delivered and false is returned.
    bool stream(const std::string& sql, const std::vector<PgParam>& params,
                const std::function<void(const PgResult& row)>& onRow);
    // COPY ... FROM STDIN: begin it, put the rows in COPY's text format (in pieces of any
    // size), end it (which throws what the server found wrong with the rows).
    void copyBegin(const std::string& copyStatement);
    void copyPut(std::string_view rows);
    void copyEnd();

    // Whether the connection is lost (the pool then drops it).
    bool broken() const { return PQstatus(conn_) != CONNECTION_OK; }
    // Connected, outside any transaction: fit to lend again.
    bool reusable() const { return !broken() && PQtransactionStatus(conn_) == PQTRANS_IDLE; }
    // Asks the server to stop what this connection runs now; callable from another thread.
    void cancel();

private:
    PgResult check(PGresult* result, const char* what);

    PGconn* conn_ = nullptr;
    std::mutex cancelMutex_;
    PGcancel* canceller_ = nullptr;
    std::unordered_set<std::string> prepared_;
};

// BEGIN ... COMMIT on a connection, rolled back when left by an exception.
class PgTransaction {
public:
    explicit PgTransaction(PgConnection& connection);
    ~PgTransaction();
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;
    void commit();

private:
    PgConnection& connection_;
    bool done_ = false;
};

}  // namespace qinglan::caseservice
