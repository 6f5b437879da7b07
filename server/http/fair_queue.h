// Jobs queued by key (a client's network) and taken in turn, so that a flood from some
// networks delays their own jobs, not everyone's.
//
// Each key has a usage: the jobs taken from it lately, each counting for less the more jobs
// (of any key) have been taken since; it halves every kHalfLife jobs. The next job comes from
// the waiting key that has used least, keys alike in the order they started waiting. Keys
// that keep jobs waiting are thus taken in turn (round robin), and a client that asks rarely
// (one login) goes ahead of all that have been asking, waiting only for a worker to come free.
// The usage of keys with nothing waiting is remembered (a bounded number of them), so that
// asking for one job at a time wins no head start.
//
// Bounds: jobs per key, and jobs in all. When all places are taken, a job whose key has a
// shorter line pushes out the newest job of the longest line; otherwise it is refused itself.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qinglan::caseservice {

template <typename Item>
class FairQueue {
public:
    FairQueue(std::size_t limit, std::size_t perKeyLimit) : limit_(limit), perKeyLimit_(perKeyLimit) {}

    struct Refusal {
        std::string key;
        Item item;
    };

    // Queues the item in the key's line; the item refused for want of room (this one or one
    // pushed out), with its key, if any. Only a longer line is pushed out, so a refusal under
    // the same key is always this item.
    std::optional<Refusal> push(const std::string& key, Item item) {
        auto lane = lanes_.find(key);
        const std::size_t waiting = lane == lanes_.end() ? 0 : lane->second.items.size();
        if (waiting >= perKeyLimit_) return Refusal{key, std::move(item)};
        std::optional<Refusal> refused;
        if (size_ >= limit_) {
            const auto longest = std::max_element(lanes_.begin(), lanes_.end(), [](const auto& a, const auto& b) {
                return std::tuple(a.second.items.size(), a.second.since) <
                       std::tuple(b.second.items.size(), b.second.since);
            });
            if (longest == lanes_.end() || longest->second.items.size() <= waiting + 1)
                return Refusal{key, std::move(item)};
            // Still at least as long as this key's line afterwards, so never left empty.
            refused = Refusal{longest->first, std::move(longest->second.items.back())};
            longest->second.items.pop_back();
            --size_;
        }
        if (lane == lanes_.end()) {
            Lane fresh;
            if (const auto idle = idle_.find(key); idle != idle_.end()) {
                fresh.usage = idle->second;
                idle_.erase(idle);
            }
            fresh.since = ++ticks_;
            lane = lanes_.emplace(key, std::move(fresh)).first;
        }
        lane->second.items.push_back(std::move(item));
        ++size_;
        return refused;
    }

    // The next item in turn; nothing when none waits.
    std::optional<Item> pop() {
        const auto next = std::min_element(lanes_.begin(), lanes_.end(), [](const auto& a, const auto& b) {
            return std::tuple(a.second.usage, a.second.since) < std::tuple(b.second.usage, b.second.since);
        });
        if (next == lanes_.end()) return std::nullopt;
        Lane& lane = next->second;
        Item item = std::move(lane.items.front());
        lane.items.pop_front();
        --size_;
        lane.usage += weight_;
        weight_ *= kGrowth;
        if (weight_ > 1e100) rescale();
        if (lane.items.empty()) {
            rememberUsage(next->first, lane.usage);
            lanes_.erase(next);
        }
        return item;
    }

    // Every waiting item, in no particular order; the queue is empty afterwards.
    std::vector<Item> takeAll() {
        std::vector<Item> all;
        for (auto& [key, lane] : lanes_)
            for (auto& item : lane.items) all.push_back(std::move(item));
        lanes_.clear();
        size_ = 0;
        return all;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    static constexpr double kHalfLife = 100;  // jobs
    static inline const double kGrowth = std::exp2(1 / kHalfLife);
    static constexpr std::size_t kRememberedKeys = 4096;

    struct Lane {
        std::deque<Item> items;
        double usage = 0;         // in units of weight_: comparing them compares decayed usages
        std::uint64_t since = 0;  // when the key started waiting: the order among equal usages
    };

    void rememberUsage(const std::string& key, double usage) {
        const auto forgotten = [this](double value) { return value < weight_ / 1024; };  // as good as new
        if (forgotten(usage)) return;
        if (idle_.size() >= kRememberedKeys) {
            std::erase_if(idle_, [&](const auto& entry) { return forgotten(entry.second); });
            if (idle_.size() >= kRememberedKeys) idle_.clear();  // at worst a head start of one job each
        }
        idle_[key] = usage;
    }

    // Brings the weights back to 1 before they overflow; the order stays as it was.
    void rescale() {
        for (auto& [key, lane] : lanes_) lane.usage /= weight_;
        for (auto& [key, usage] : idle_) usage /= weight_;
        weight_ = 1;
    }

    std::size_t limit_;
    std::size_t perKeyLimit_;
    std::size_t size_ = 0;
    double weight_ = 1;  // what taking a job adds to its key's usage: older jobs weigh less
    std::uint64_t ticks_ = 0;
    std::unordered_map<std::string, Lane> lanes_;   // keys with items waiting
    std::unordered_map<std::string, double> idle_;  // usages of keys served lately, none waiting
};

}  // namespace qinglan::caseservice
