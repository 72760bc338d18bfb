#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zz::cli {

// The window thread of a console program: work posted from any thread runs on the thread that
// calls RunFor, in the order posted.
class TPostQueue
{
public:
    void Post(std::function<void()> work);
    // Runs posted work on the calling thread for at most the given time.
    void RunFor(std::chrono::milliseconds time);
    // Runs whatever is queued now and returns.
    void RunPending();

private:
    std::mutex Mutex;
    std::condition_variable Queued;
    std::deque<std::function<void()>> Queue;
};

} // namespace zz::cli
