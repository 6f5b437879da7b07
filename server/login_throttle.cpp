#include "login_throttle.h"

#include <algorithm>

namespace qinglan::caseservice {

namespace {
constexpr std::size_t kPruneAbove = 100000;
}

int LoginThrottle::secondsToWait(const std::string& nm, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    const auto found = states_.find(nm);
    if (found == states_.end() || now >= found->second.pausedUntil) return 0;
    const auto left = std::chrono::ceil<std::chrono::seconds>(found->second.pausedUntil - now);
    return static_cast<int>(std::max<std::chrono::seconds::rep>(1, left.count()));
}

void LoginThrottle::recordFailure(const std::string& nm, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (states_.size() > kPruneAbove) forgetOld(now);
    auto& state = states_[nm];
    if (state.failures > 0 && now - state.lastFailure > policy_.forgetAfter) state = State{};
    ++state.failures;
    state.lastFailure = now;
    const int over = state.failures - policy_.freeFailures;
    if (over >= 0) {
        auto pause = policy_.firstPause;
        for (int i = 0; i < over && pause < policy_.longestPause; ++i) pause *= 2;
        state.pausedUntil = now + std::min(pause, policy_.longestPause);
    }
}

void LoginThrottle::recordSuccess(const std::string& nm) {
    std::lock_guard lock(mutex_);
    if (!states_.empty()) states_.erase(nm);
}

void LoginThrottle::forgetOld(Clock::time_point now) {
    std::erase_if(states_, [&](const auto& entry) {
        return now - entry.second.lastFailure > policy_.forgetAfter && now >= entry.second.pausedUntil;
    });
}

}  // namespace qinglan::caseservice
