// Slows down guessing: after a few failed password checks for one user name, further
// checks for that name are refused for a time that doubles with every further failure.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace qinglan::caseservice {

struct ThrottlePolicy {
    int freeFailures = 5;                       // failures before the first pause
    std::chrono::seconds firstPause{1};         // pause after the last free failure
    std::chrono::seconds longestPause{300};
    std::chrono::seconds forgetAfter{3600};     // failures this old no longer count
};

class LoginThrottle {
public:
    using Clock = std::chrono::steady_clock;
    explicit LoginThrottle(ThrottlePolicy policy = {}) : policy_(policy) {}

    // Seconds (rounded up) before the name may be checked again; 0 when it may be now.
    int secondsToWait(const std::string& nm, Clock::time_point now = Clock::now());
    void recordFailure(const std::string& nm, Clock::time_point now = Clock::now());
    void recordSuccess(const std::string& nm);

private:
    struct State {
        int failures = 0;
        Clock::time_point lastFailure;
        Clock::time_point pausedUntil;
    };
    void forgetOld(Clock::time_point now);

    ThrottlePolicy policy_;
    std::mutex mutex_;
    std::unordered_map<std::string, State> states_;
};

}  // namespace qinglan::caseservice
