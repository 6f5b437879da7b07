#include "http/body_budget.h"

#include <malloc.h>

#include <algorithm>

namespace qinglan::caseservice {

namespace {
constexpr std::size_t kBurst = 8 * 1024 * 1024;
}

bool BodyBudget::reserve(std::size_t bytes) {
    std::size_t now = inFlight_.load(std::memory_order_relaxed);
    do {
        if (bytes > limit_ || now > limit_ - bytes) return false;
    } while (!inFlight_.compare_exchange_weak(now, now + bytes, std::memory_order_relaxed));
    std::size_t peak = peak_.load(std::memory_order_relaxed);
    while (now + bytes > peak && !peak_.compare_exchange_weak(peak, now + bytes, std::memory_order_relaxed)) {
    }
    return true;
}

void BodyBudget::release(std::size_t bytes) { inFlight_.fetch_sub(bytes, std::memory_order_relaxed); }

std::size_t BodyBudget::takePeak() { return peak_.exchange(inFlight(), std::memory_order_relaxed); }

bool MemoryReturn::tick(std::size_t peakSinceLastTick, std::size_t heldNow) {
    peak_ = std::max({peak_, peakSinceLastTick, heldNow});
    if (peak_ < kBurst || heldNow > peak_ / 4) return false;
    malloc_trim(0);
    peak_ = heldNow;
    return true;
}

}  // namespace qinglan::caseservice
