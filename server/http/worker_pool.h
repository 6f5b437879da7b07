// A fixed set of threads taking jobs from a bounded queue. A full queue refuses new jobs at
// once instead of letting them wait without end; on stop, queued jobs are run with
// cancelled = true so that whoever waits for them is still answered.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qinglan::caseservice {

class WorkerPool {
public:
    using Job = std::function<void(bool cancelled)>;

    WorkerPool(std::size_t threads, std::size_t queueLimit);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the queue is full or the pool is stopping; the job is then not run.
    bool submit(Job job);
    // Lets running jobs finish, cancels the queued ones and joins the threads.
    void stop();

private:
    void work();

    std::size_t queueLimit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace qinglan::caseservice
