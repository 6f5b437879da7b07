#include "auth/clock.h"

namespace qinglan::caseservice {

namespace {

class SystemClock final : public Clock {
public:
    std::chrono::steady_clock::time_point steadyNow() const override { return std::chrono::steady_clock::now(); }
    std::chrono::system_clock::time_point systemNow() const override { return std::chrono::system_clock::now(); }
};

}  // namespace

std::int64_t epochSeconds(const Clock& clock) {
    return std::chrono::duration_cast<std::chrono::seconds>(clock.systemNow().time_since_epoch()).count();
}

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

}  // namespace qinglan::caseservice
