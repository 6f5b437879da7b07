// Slows down password guessing without letting a guesser lock anyone out. Failures count
// against the pair (account name, client address) and, separately, against the client
// address across all names. After a few failures further checks for that pair, or from that
// address, are refused for a time that doubles with every further failure. A user who knows
// the password and comes from another address is never held up by someone else's guesses.
// Each table keeps at most `capacity` entries, dropping the longest-quiet one when full, so
// the memory taken has a fixed bound whatever names and addresses are tried.
#pragma once

#include "auth/clock.h"

#include <chrono>
#include <cstddef>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

namespace qinglan::caseservice {

struct ThrottlePolicy {
    int freeFailures = 5;          // failures of one name from one address before the first pause
    int freeAddressFailures = 30;  // failures from one address, any names, before its first pause
    std::chrono::seconds firstPause{1};
    std::chrono::seconds longestPause{300};
    std::chrono::seconds forgetAfter{3600};  // failures this old no longer count
    std::size_t capacity = 65536;            // entries per table
};

class LoginThrottle {
public:
    using Steady = std::chrono::steady_clock;
    explicit LoginThrottle(ThrottlePolicy policy = {}, const Clock& clock = systemClock());

    // Seconds (rounded up) before this name may be checked from this address; 0 when now.
    int secondsToWait(const std::string& nameKey, const std::string& address);
    void recordFailure(const std::string& nameKey, const std::string& address);
    // Clears the pair's failures (not the address's: one right password among many guesses
    // does not excuse the guesses).
    void recordSuccess(const std::string& nameKey, const std::string& address);

    // Registrations count against the address like failures, so that one client cannot
    // create accounts without end.
    int secondsToWaitForAddress(const std::string& address);
    void recordRegistration(const std::string& address);

    std::size_t entries();  // both tables together

private:
    // Failure counts by key, the most recently failed first.
    class Table {
    public:
        Table(int freeFailures, const ThrottlePolicy& policy) : freeFailures_(freeFailures), policy_(policy) {}
        Steady::duration wait(const std::string& key, Steady::time_point now) const;
        void fail(const std::string& key, Steady::time_point now);
        void forget(const std::string& key);
        std::size_t size() const { return index_.size(); }

    private:
        struct Entry {
            std::string key;
            int failures = 0;
            Steady::time_point lastFailure;
            Steady::time_point pausedUntil;
        };
        int freeFailures_;
        const ThrottlePolicy& policy_;
        std::list<Entry> order_;
        std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    };

    ThrottlePolicy policy_;
    const Clock& clock_;
    std::mutex mutex_;
    Table pairs_;
    Table addresses_;
};

}  // namespace qinglan::caseservice
