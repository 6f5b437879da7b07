#include "store/postgresql/pg_pool.h"

#include <algorithm>

namespace qinglan::caseservice {

PgPool::PgPool(std::string conninfo, PgPoolSettings settings) : conninfo_(std::move(conninfo)), settings_(settings) {}

PgPool::~PgPool() = default;

PgPool::Lease::~Lease() {
    if (connection_) pool_->giveBack(std::move(connection_));
}

PgPool::Lease PgPool::acquire() {
    std::unique_lock lock(mutex_);
    const auto ready = [this] { return stopping_ || !idle_.empty() || open_ < settings_.maxConnections; };
    if (!returned_.wait_for(lock, settings_.waitForConnection, ready))
        throw std::runtime_error("all " + std::to_string(settings_.maxConnections) +
                                 " database connections stayed busy");
    if (stopping_) throw std::runtime_error("the service is stopping");
    if (!idle_.empty()) {
        auto connection = std::move(idle_.back());
        idle_.pop_back();
        lent_.push_back(connection.get());
        return Lease(*this, std::move(connection));
    }
    ++open_;
    lock.unlock();
    std::unique_ptr<PgConnection> connection;
    try {
        connection = std::make_unique<PgConnection>(conninfo_, settings_.statementTimeout);
    } catch (...) {
        lock.lock();
        --open_;
        returned_.notify_one();
        throw;
    }
    lock.lock();
    lent_.push_back(connection.get());
    return Lease(*this, std::move(connection));
}

void PgPool::giveBack(std::unique_ptr<PgConnection> connection) {
    std::lock_guard lock(mutex_);
    lent_.erase(std::remove(lent_.begin(), lent_.end(), connection.get()), lent_.end());
    if (!connection->reusable() || stopping_) {
        --open_;
        connection.reset();
    } else {
        idle_.push_back(std::move(connection));
    }
    returned_.notify_one();
}

void PgPool::stop() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (auto* connection : lent_) connection->cancel();
    returned_.notify_all();
}

}  // namespace qinglan::caseservice
