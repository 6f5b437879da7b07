#include "http/worker_pool.h"

namespace qinglan::caseservice {

WorkerPool::WorkerPool(std::size_t threads, std::size_t queueLimit, std::size_t perKeyLimit)
    : queue_(queueLimit, perKeyLimit) {
    for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() { stop(); }

bool WorkerPool::submit(Job job) {
    std::unique_lock lock(mutex_);
    if (stopping_) return false;
    auto refused = queue_.push({}, std::move(job));
    lock.unlock();
    if (refused && refused->key.empty()) return false;  // a refusal under our own key is this job
    wake_.notify_one();
    if (refused) refused->item(true);
    return true;
}

std::string WorkerPool::submitFairly(const std::string& key, Job job) {
    std::unique_lock lock(mutex_);
    if (stopping_) {
        lock.unlock();
        job(true);
        return {};
    }
    auto refused = queue_.push(key, std::move(job));
    lock.unlock();
    if (!refused || refused->key != key) wake_.notify_one();
    if (!refused) return {};
    refused->item(true);
    return refused->key;
}

void WorkerPool::stop() {
    std::vector<Job> cancelled;
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && threads_.empty()) return;
        stopping_ = true;
        cancelled = queue_.takeAll();
    }
    wake_.notify_all();
    for (auto& job : cancelled) job(true);
    for (auto& thread : threads_) thread.join();
    threads_.clear();
}

void WorkerPool::work() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            auto next = queue_.pop();
            if (!next) return;
            job = std::move(*next);
        }
        job(false);
    }
}

}  // namespace qinglan::caseservice
