#pragma once

#include <condition_variable>
#include <mutex>

namespace zz {

// Auto-reset event: Set releases one waiter (or the next one to wait), and a successful wait
// resets it. A timed wait doubles as a sleep that another thread can cut short.
class TEvent
{
public:
    explicit TEvent(bool initiallySet = false);
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    void Set();
    // Waits until the event is set or the time is up; true when it was set (it is reset then).
    [[nodiscard]] bool WaitFor(int milliseconds);
    // Waits until the event is set, however long that takes, and resets it.
    void Wait();
    // Whether the event is set now, without waiting and without resetting it.
    bool IsSet() const;

private:
    mutable std::mutex Mutex;
    std::condition_variable Signalled;
    bool State;
};

} // namespace zz
