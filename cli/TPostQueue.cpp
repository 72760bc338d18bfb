#include "cli/TPostQueue.h"

namespace zz::cli {

void TPostQueue::Post(std::function<void()> work)
{
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Queue.push_back(std::move(work));
    }
    Queued.notify_one();
}

void TPostQueue::RunFor(std::chrono::milliseconds time)
{
    const auto deadline = std::chrono::steady_clock::now() + time;
    std::unique_lock<std::mutex> lock(Mutex);
    while (Queued.wait_until(lock, deadline, [this] { return !Queue.empty(); })) {
        auto work = std::move(Queue.front());
        Queue.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

void TPostQueue::RunPending()
{
    RunFor(std::chrono::milliseconds(0));
}

} // namespace zz::cli
