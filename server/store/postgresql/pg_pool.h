// A bounded pool of PostgreSQL connections for one service instance. Connections are opened
// when needed, up to the limit, and kept; a lost one is dropped and replaced by the next call.
#pragma once

#include "store/postgresql/pg_connection.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qinglan::caseservice {

struct PgPoolSettings {
    int maxConnections = 18;
    std::chrono::milliseconds statementTimeout{2000};
    std::chrono::milliseconds waitForConnection{5000};  // past it a call fails instead of queueing on
};

class PgPool {
public:
    PgPool(std::string conninfo, PgPoolSettings settings);
    ~PgPool();
    PgPool(const PgPool&) = delete;
    PgPool& operator=(const PgPool&) = delete;

    // A connection lent to one caller until the lease ends.
    class Lease {
    public:
        Lease(PgPool& pool, std::unique_ptr<PgConnection> connection)
            : pool_(&pool), connection_(std::move(connection)) {}
        Lease(Lease&& other) noexcept = default;
        Lease& operator=(Lease&&) = delete;
        ~Lease();
        PgConnection& operator*() const { return *connection_; }
        PgConnection* operator->() const { return connection_.get(); }

    private:
        PgPool* pool_;
        std::unique_ptr<PgConnection> connection_;
    };

    // Throws std::runtime_error when the pool is stopping, no connection frees up in time,
    // or a new connection cannot be opened.
    Lease acquire();
    // Cancels what every lent connection runs and refuses new leases: for a prompt shutdown.
    void stop();

private:
    void giveBack(std::unique_ptr<PgConnection> connection);

    const std::string conninfo_;
    const PgPoolSettings settings_;
    std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<PgConnection>> idle_;
    std::vector<PgConnection*> lent_;
    int open_ = 0;  // idle, lent, and being opened
    bool stopping_ = false;
};

}  // namespace qinglan::caseservice
