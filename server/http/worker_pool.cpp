#include "http/worker_pool.h"

namespace qinglan::caseservice {

WorkerPool::WorkerPool(std::size_t threads, std::size_t queueLimit) : queueLimit_(queueLimit) {
    for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() { stop(); }

bool WorkerPool::submit(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || queue_.size() >= queueLimit_) return false;
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
    return true;
}

void WorkerPool::stop() {
    std::deque<Job> cancelled;
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && threads_.empty()) return;
        stopping_ = true;
        cancelled.swap(queue_);
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
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job(false);
    }
}

}  // namespace qinglan::caseservice
