// The system's clocks moved on by a test: a test that waits for a pause or an expiry to pass
// moves this clock past it instead of sleeping.
#pragma once

#include "auth/clock.h"

#include <atomic>
#include <chrono>

namespace qinglan::caseservice::testing {

class OffsetClock final : public Clock {
public:
    std::chrono::steady_clock::time_point steadyNow() const override {
        return std::chrono::steady_clock::now() + offset();
    }
    std::chrono::system_clock::time_point systemNow() const override {
        return std::chrono::system_clock::now() +
               std::chrono::duration_cast<std::chrono::system_clock::duration>(offset());
    }
    void advance(std::chrono::milliseconds by) { offset_ += by.count(); }

private:
    std::chrono::milliseconds offset() const { return std::chrono::milliseconds(offset_.load()); }
    std::atomic<std::chrono::milliseconds::rep> offset_{0};
};

}  // namespace qinglan::caseservice::testing
