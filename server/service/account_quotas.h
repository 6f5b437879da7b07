// What each account may do: the bytes it stores, its saves per minute and its keyword searches at
// once (see AccountQuotas). Safe to use from any thread; its memory is bounded by the accounts
// active in the last ten minutes.
#pragma once

#include "auth/clock.h"
#include "model/records.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

namespace qinglan::caseservice {

enum class QuotaRefusal { None, SavesPerMinute, StoredBytes };

struct SaveAdmission {
    QuotaRefusal refused = QuotaRefusal::None;
    int secondsToWait = 0;  // for SavesPerMinute: until the next save is taken
};

class AccountQuotaBook {
public:
    // Searches of one account that wait for a running one to end; further ones are refused.
    static constexpr int kSearchesWaiting = 2;

    AccountQuotaBook(AccountQuotas limits, const Clock& clock);
    const AccountQuotas& limits() const { return limits_; }

    // Admits a save that changes the user's stored bytes by growth: takes it from the user's saves
    // of the minute and reserves the bytes. storedNow reads the user's stored bytes from the store;
    // it is called when the book does not know them, and before a refusal for bytes when they
    // were last read more than a few seconds ago (a save that replaces texts is counted as added).
    SaveAdmission admitSave(std::int64_t user, std::int64_t growth, const std::function<std::int64_t()>& storedNow);
    // Gives back the bytes of an admitted save that was not stored.
    void returnBytes(std::int64_t user, std::int64_t growth);

    // The right to run one search, given back when destroyed.
    class SearchTurn {
    public:
        SearchTurn() = default;
        SearchTurn(SearchTurn&& other) noexcept : book_(std::exchange(other.book_, nullptr)), user_(other.user_) {}
        SearchTurn& operator=(SearchTurn&&) = delete;
        ~SearchTurn();

    private:
        friend class AccountQuotaBook;
        SearchTurn(AccountQuotaBook* book, std::int64_t user) : book_(book), user_(user) {}
        AccountQuotaBook* book_ = nullptr;
        std::int64_t user_ = 0;
    };
    // Waits for the user's turn, in the order asked; nullopt at once when kSearchesWaiting
    // searches of the user already wait.
    std::optional<SearchTurn> searchTurn(std::int64_t user);

private:
    struct Account {
        double saves = 0;  // left in the minute, refilled continuously
        std::chrono::steady_clock::time_point refilled;
        std::int64_t bytes = 0;
        bool bytesKnown = false;
        std::chrono::steady_clock::time_point bytesRead;
        std::chrono::steady_clock::time_point lastUsed;
    };
    struct SearchLine {
        std::uint64_t issued = 0;
        std::uint64_t done = 0;
    };
    Account& accountOf(std::int64_t user, std::chrono::steady_clock::time_point now);
    void endSearch(std::int64_t user);

    const AccountQuotas limits_;
    const Clock& clock_;
    std::mutex mutex_;
    std::unordered_map<std::int64_t, Account> accounts_;
    std::size_t nextSweep_;
    std::mutex searchMutex_;
    std::condition_variable searchEnded_;
    std::unordered_map<std::int64_t, SearchLine> searches_;
};

}  // namespace qinglan::caseservice
