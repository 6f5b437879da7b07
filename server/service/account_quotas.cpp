#include "service/account_quotas.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qinglan::caseservice {

namespace {

using namespace std::chrono_literals;

// Other instances on a shared store write too: stored bytes are read again this often.
constexpr auto kTrustBytesFor = 10min;
// By then an account's saves are whole again and its bytes are read anew: its entry may go.
constexpr auto kIdleAccount = kTrustBytesFor;
constexpr std::size_t kSweepAt = 4096;
// A refusal for bytes reads them again first, at most this often for one account.
constexpr auto kRecountAfter = 10s;

double secondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

AccountQuotaBook::AccountQuotaBook(AccountQuotas limits, const Clock& clock)
    : limits_(limits), clock_(clock), nextSweep_(kSweepAt) {}

AccountQuotaBook::Account& AccountQuotaBook::accountOf(std::int64_t user, std::chrono::steady_clock::time_point now) {
    auto found = accounts_.find(user);
    if (found == accounts_.end()) {
        if (accounts_.size() >= nextSweep_) {
            for (auto it = accounts_.begin(); it != accounts_.end();)
                it = now - it->second.lastUsed > kIdleAccount ? accounts_.erase(it) : std::next(it);
            nextSweep_ = std::max(kSweepAt, 2 * accounts_.size());
        }
        Account fresh;
        fresh.saves = limits_.savesPerMinute;
        fresh.refilled = now;
        found = accounts_.emplace(user, fresh).first;
    }
    found->second.lastUsed = now;
    return found->second;
}

SaveAdmission AccountQuotaBook::admitSave(std::int64_t user, std::int64_t growth,
                                          const std::function<std::int64_t()>& storedNow) {
    if (limits_.savesPerMinute <= 0 && limits_.storedBytes <= 0) return {};
    const auto now = clock_.steadyNow();
    std::unique_lock lock(mutex_);
    if (limits_.savesPerMinute > 0) {
        Account& account = accountOf(user, now);
        const double perSecond = limits_.savesPerMinute / 60.0;
        account.saves = std::min<double>(
            limits_.savesPerMinute, account.saves + perSecond * std::max(0.0, secondsBetween(account.refilled, now)));
        account.refilled = now;
        if (account.saves < 1)
            return {QuotaRefusal::SavesPerMinute, static_cast<int>(std::ceil((1 - account.saves) / perSecond))};
        account.saves -= 1;
    }
    if (limits_.storedBytes <= 0) return {};
    const auto over = [&](const Account& account) {
        return growth > 0 && account.bytes + growth > limits_.storedBytes;
    };
    {
        const Account& account = accountOf(user, now);
        const bool stale = !account.bytesKnown || now - account.bytesRead > kTrustBytesFor;
        if (stale || (over(account) && now - account.bytesRead > kRecountAfter)) {
            // Read without the lock: it may take a while for a large account.
            lock.unlock();
            const std::int64_t stored = storedNow();
            lock.lock();
            Account& updated = accountOf(user, now);
            updated.bytes = stored;
            updated.bytesKnown = true;
            updated.bytesRead = now;
        }
    }
    Account& account = accountOf(user, now);
    if (over(account)) return {QuotaRefusal::StoredBytes, 0};
    account.bytes += growth;
    return {};
}

void AccountQuotaBook::returnBytes(std::int64_t user, std::int64_t growth) {
    if (limits_.storedBytes <= 0) return;
    std::lock_guard lock(mutex_);
    if (const auto found = accounts_.find(user); found != accounts_.end())
        found->second.bytes = std::max<std::int64_t>(0, found->second.bytes - growth);
}

std::optional<AccountQuotaBook::SearchTurn> AccountQuotaBook::searchTurn(std::int64_t user) {
    if (limits_.searchesAtOnce <= 0) return SearchTurn{};
    std::unique_lock lock(searchMutex_);
    // Stays in the map while any of its searches runs or waits.
    SearchLine& line = searches_[user];
    if (line.issued - line.done >= static_cast<std::uint64_t>(limits_.searchesAtOnce + kSearchesWaiting))
        return std::nullopt;
    const std::uint64_t ticket = line.issued++;
    searchEnded_.wait(lock, [&] { return ticket < line.done + static_cast<std::uint64_t>(limits_.searchesAtOnce); });
    return SearchTurn(this, user);
}

void AccountQuotaBook::endSearch(std::int64_t user) {
    {
        std::lock_guard lock(searchMutex_);
        const auto found = searches_.find(user);
        if (++found->second.done == found->second.issued) searches_.erase(found);
    }
    searchEnded_.notify_all();
}

AccountQuotaBook::SearchTurn::~SearchTurn() {
    if (book_) book_->endSearch(user_);
}

}  // namespace qinglan::caseservice
