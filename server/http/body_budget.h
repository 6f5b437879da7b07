// The memory request bodies may hold at once, and giving it back afterwards. A body reserves its
// declared length (or its bytes as they come, without one) before it is read; a body that does
// not fit is refused rather than let a crowd of slow uploads hold the memory. Freed bodies leave
// the allocator's free lists large, so after a burst the free memory is handed back.
#pragma once

#include <atomic>
#include <cstddef>

namespace qinglan::caseservice {

class BodyBudget {
public:
    explicit BodyBudget(std::size_t bytes) : limit_(bytes) {}

    // False when the bytes do not fit beside the bodies in flight; nothing is reserved then.
    bool reserve(std::size_t bytes);
    void release(std::size_t bytes);
    std::size_t inFlight() const { return inFlight_.load(std::memory_order_relaxed); }
    // The most in flight since the last call, which starts the count again.
    std::size_t takePeak();

private:
    const std::size_t limit_;
    std::atomic<std::size_t> inFlight_{0};
    std::atomic<std::size_t> peak_{0};
};

// Called about once a second with what requests hold now: after a burst of at least a few MiB
// has mostly ended, returns the free memory to the system (malloc_trim). True when it did.
class MemoryReturn {
public:
    bool tick(std::size_t peakSinceLastTick, std::size_t heldNow);

private:
    std::size_t peak_ = 0;
};

}  // namespace qinglan::caseservice
