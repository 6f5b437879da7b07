// A fixed set of threads taking jobs from a bounded queue. A full queue refuses new jobs at
// once instead of letting them wait without end; on stop, queued jobs are run with
// cancelled = true so that whoever waits for them is still answered. Jobs submitted with a key
// (a client's network) wait in that key's line and are taken in turn with other keys' (see
// FairQueue); those submitted without one share a single line, first in, first out.
#pragma once

#include "http/fair_queue.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qinglan::caseservice {

class WorkerPool {
public:
    using Job = std::function<void(bool cancelled)>;

    // perKeyLimit: jobs of one key waiting at once.
    WorkerPool(std::size_t threads, std::size_t queueLimit,
               std::size_t perKeyLimit = std::numeric_limits<std::size_t>::max());
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when the queue is full or the pool is stopping; the job is then not run.
    bool submit(Job job);
    // Queues the job in the key's line. A job refused for want of room, this one or one it
    // pushed out, is run at once with cancelled = true; returns that job's key ("" when none was
    // refused, also when the pool is stopping).
    std::string submitFairly(const std::string& key, Job job);
    // Lets running jobs finish, cancels the queued ones and joins the threads.
    void stop();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    FairQueue<Job> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace qinglan::caseservice
