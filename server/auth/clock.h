// The time as the login throttle and session expiry read it. The service reads the system's
// clocks; a test moves its own clock on instead of waiting for the real one.
#pragma once

#include <chrono>
#include <cstdint>

namespace qinglan::caseservice {

class Clock {
public:
    virtual ~Clock() = default;
    // For pauses: never goes back.
    virtual std::chrono::steady_clock::time_point steadyNow() const = 0;
    // For session expiry, which is stored as seconds since the epoch.
    virtual std::chrono::system_clock::time_point systemNow() const = 0;
};

// The system time in whole seconds since the epoch, as session and device expiry are kept.
std::int64_t epochSeconds(const Clock& clock);

// std::chrono's steady and system clocks.
const Clock& systemClock();

}  // namespace qinglan::caseservice
