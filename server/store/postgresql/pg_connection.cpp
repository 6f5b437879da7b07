#include "store/postgresql/pg_connection.h"

#include <algorithm>
#include <charconv>

namespace qinglan::caseservice {

namespace {

std::string firstLine(const char* message) {
    std::string text = message ? message : "unknown error";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

struct ParamArrays {
    std::vector<const char*> values;
    std::vector<int> lengths;
    explicit ParamArrays(const std::vector<PgParam>& params) {
        for (const auto& p : params) {
            // Text parameters end at their first NUL; PostgreSQL text cannot hold one anyway.
            if (p && p->find('\0') != std::string::npos)
                throw PgError("postgresql: a text holds a NUL character, which PostgreSQL cannot store", "22021");
            values.push_back(p ? p->c_str() : nullptr);
            lengths.push_back(p ? static_cast<int>(p->size()) : 0);
        }
    }
    int count() const { return static_cast<int>(values.size()); }
};

}  // namespace

std::string PgResult::text(int row, int column) const {
    const char* value = PQgetvalue(result_.get(), row, column);
    return std::string(value, static_cast<std::size_t>(PQgetlength(result_.get(), row, column)));
}

std::int64_t PgResult::integer(int row, int column) const {
    const char* value = PQgetvalue(result_.get(), row, column);
    const char* end = value + PQgetlength(result_.get(), row, column);
    std::int64_t number = 0;
    if (std::from_chars(value, end, number).ptr != end) throw std::runtime_error("postgresql: not an integer");
    return number;
}

std::int64_t PgResult::affected() const {
    const char* count = PQcmdTuples(result_.get());
    return count && *count ? std::stoll(count) : 0;
}

PgConnection::PgConnection(const std::string& conninfo, std::chrono::milliseconds statementTimeout) {
    // The caller's string comes after the defaults (it may change them); the encoding after it.
    const char* keywords[] = {"connect_timeout", "application_name", "dbname", "client_encoding", nullptr};
    const char* values[] = {"10", "qinglan-caseservice", conninfo.c_str(), "UTF8", nullptr};
    conn_ = PQconnectdbParams(keywords, values, 1);
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        const std::string reason = conn_ ? firstLine(PQerrorMessage(conn_)) : "out of memory";
        PQfinish(conn_);
        throw std::runtime_error("cannot connect to PostgreSQL: " + reason);
    }
    canceller_ = PQgetCancel(conn_);
    try {
        execute("SET statement_timeout = " + std::to_string(statementTimeout.count()) +
                "; SET idle_in_transaction_session_timeout = '60s'; SET lock_timeout = " +
                std::to_string(statementTimeout.count()));
    } catch (...) {
        PQfreeCancel(canceller_);
        PQfinish(conn_);
        throw;
    }
}

PgConnection::~PgConnection() {
    {
        std::lock_guard lock(cancelMutex_);
        PQfreeCancel(canceller_);
        canceller_ = nullptr;
    }
    PQfinish(conn_);
}

void PgConnection::cancel() {
    std::lock_guard lock(cancelMutex_);
    if (!canceller_) return;
    char error[256];
    PQcancel(canceller_, error, sizeof error);
}

PgResult PgConnection::check(PGresult* raw, const char* what) {
    PgResult result(raw);
    const auto status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_SINGLE_TUPLE ||
        status == PGRES_COPY_IN)
        return result;
    const char* state = raw ? PQresultErrorField(raw, PG_DIAG_SQLSTATE) : nullptr;
    const char* message = raw ? PQresultErrorMessage(raw) : PQerrorMessage(conn_);
    throw PgError(std::string("postgresql: ") + what + ": " + firstLine(message), state ? state : "");
}

PgResult PgConnection::execute(const std::string& sql) { return check(PQexec(conn_, sql.c_str()), "statement"); }

PgResult PgConnection::run(const PgStatement& statement, const std::vector<PgParam>& params) {
    const ParamArrays args(params);
    if (!prepared_.contains(statement.name)) {
        check(PQprepare(conn_, statement.name, statement.sql, args.count(), nullptr), statement.name);
        prepared_.insert(statement.name);
    }
    return check(
        PQexecPrepared(conn_, statement.name, args.count(), args.values.data(), args.lengths.data(), nullptr, 0),
        statement.name);
}

bool PgConnection::stream(const std::string& sql, const std::vector<PgParam>& params,
                          const std::function<void(const PgResult& row)>& onRow) {
    const ParamArrays args(params);
    if (!PQsendQueryParams(conn_, sql.c_str(), args.count(), nullptr, args.values.data(), args.lengths.data(), nullptr,
                           0))
        throw PgError("postgresql: " + firstLine(PQerrorMessage(conn_)), "");
    PQsetSingleRowMode(conn_);
    bool complete = true;
    std::optional<PgError> failure;
    // Every result is read, to the end, so the connection is ready for the next statement.
    while (PGresult* raw = PQgetResult(conn_)) {
        try {
            const auto result = check(raw, "search");
            if (PQresultStatus(raw) == PGRES_SINGLE_TUPLE && !failure) onRow(result);
        } catch (const PgError& e) {
            if (e.cancelled())
                complete = false;
            else if (!failure)
                failure = e;
        }
    }
    if (failure) throw *failure;
    return complete;
}

void PgConnection::copyBegin(const std::string& copyStatement) { check(PQexec(conn_, copyStatement.c_str()), "copy"); }

void PgConnection::copyPut(std::string_view rows) {
    constexpr std::size_t kPiece = 1 << 20;
    for (std::size_t at = 0; at < rows.size(); at += kPiece) {
        const auto size = std::min(kPiece, rows.size() - at);
        if (PQputCopyData(conn_, rows.data() + at, static_cast<int>(size)) != 1)
            throw PgError("postgresql: copy: " + firstLine(PQerrorMessage(conn_)), "");
    }
}

void PgConnection::copyEnd() {
    if (PQputCopyEnd(conn_, nullptr) != 1) throw PgError("postgresql: copy: " + firstLine(PQerrorMessage(conn_)), "");
    std::optional<PgError> failure;
    while (PGresult* raw = PQgetResult(conn_)) {
        try {
            check(raw, "copy");
        } catch (const PgError& e) {
            if (!failure) failure = e;
        }
    }
    if (failure) throw *failure;
}

PgTransaction::PgTransaction(PgConnection& connection) : connection_(connection) { connection_.execute("BEGIN"); }

PgTransaction::~PgTransaction() {
    if (done_) return;
    try {
        if (!connection_.broken()) connection_.execute("ROLLBACK");
    } catch (...) {
    }
}

void PgTransaction::commit() {
    connection_.execute("COMMIT");
    done_ = true;
}

}  // namespace qinglan::caseservice
