#include "auth/login_throttle.h"

#include <algorithm>

namespace qinglan::caseservice {

namespace {

std::string pairKey(const std::string& nameKey, const std::string& address) {
    std::string key = address;
    key += '\n';
    key += nameKey;
    return key;
}

int roundedUpSeconds(LoginThrottle::Steady::duration wait) {
    if (wait <= LoginThrottle::Steady::duration::zero()) return 0;
    return static_cast<int>(
        std::max<std::chrono::seconds::rep>(1, std::chrono::ceil<std::chrono::seconds>(wait).count()));
}

}  // namespace

LoginThrottle::LoginThrottle(ThrottlePolicy policy, const Clock& clock)
    : policy_(policy),
      clock_(clock),
      pairs_(policy_.freeFailures, policy_),
      addresses_(policy_.freeAddressFailures, policy_) {}

LoginThrottle::Steady::duration LoginThrottle::Table::wait(const std::string& key, Steady::time_point now) const {
    const auto found = index_.find(key);
    if (found == index_.end()) return Steady::duration::zero();
    return found->second->pausedUntil - now;
}

void LoginThrottle::Table::fail(const std::string& key, Steady::time_point now) {
    auto found = index_.find(key);
    if (found == index_.end()) {
        if (index_.size() >= policy_.capacity && !order_.empty()) {
            index_.erase(order_.back().key);
            order_.pop_back();
        }
        order_.push_front(Entry{key, 0, now, now});
        found = index_.emplace(key, order_.begin()).first;
    } else {
        order_.splice(order_.begin(), order_, found->second);
    }
    Entry& entry = *found->second;
    if (entry.failures > 0 && now - entry.lastFailure > policy_.forgetAfter) entry.failures = 0;
    ++entry.failures;
    entry.lastFailure = now;
    const int over = entry.failures - freeFailures_;
    if (over >= 0) {
        auto pause = policy_.firstPause;
        for (int i = 0; i < over && pause < policy_.longestPause; ++i) pause *= 2;
        entry.pausedUntil = now + std::min(pause, policy_.longestPause);
    }
}

void LoginThrottle::Table::forget(const std::string& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return;
    order_.erase(found->second);
    index_.erase(found);
}

int LoginThrottle::secondsToWait(const std::string& nameKey, const std::string& address) {
    const auto now = clock_.steadyNow();
    std::lock_guard lock(mutex_);
    return roundedUpSeconds(std::max(pairs_.wait(pairKey(nameKey, address), now), addresses_.wait(address, now)));
}

void LoginThrottle::recordFailure(const std::string& nameKey, const std::string& address) {
    const auto now = clock_.steadyNow();
    std::lock_guard lock(mutex_);
    pairs_.fail(pairKey(nameKey, address), now);
    addresses_.fail(address, now);
}

void LoginThrottle::recordSuccess(const std::string& nameKey, const std::string& address) {
    std::lock_guard lock(mutex_);
    pairs_.forget(pairKey(nameKey, address));
}

int LoginThrottle::secondsToWaitForAddress(const std::string& address) {
    const auto now = clock_.steadyNow();
    std::lock_guard lock(mutex_);
    return roundedUpSeconds(addresses_.wait(address, now));
}

void LoginThrottle::recordRegistration(const std::string& address) {
    const auto now = clock_.steadyNow();
    std::lock_guard lock(mutex_);
    addresses_.fail(address, now);
}

std::size_t LoginThrottle::entries() {
    std::lock_guard lock(mutex_);
    return pairs_.size() + addresses_.size();
}

}  // namespace qinglan::caseservice
