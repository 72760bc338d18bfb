#include "io/TEvent.h"

#include <chrono>

namespace zz {

TEvent::TEvent(bool initiallySet) : State(initiallySet)
{
}

void TEvent::Set()
{
    {
        std::lock_guard<std::mutex> lock(Mutex);
        State = true;
    }
    Signalled.notify_one();
}

bool TEvent::WaitFor(int milliseconds)
{
    std::unique_lock<std::mutex> lock(Mutex);
    const bool set =
        Signalled.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return State; });
    State = false;
    return set;
}

void TEvent::Wait()
{
    std::unique_lock<std::mutex> lock(Mutex);
    Signalled.wait(lock, [this] { return State; });
    State = false;
}

bool TEvent::IsSet() const
{
    std::lock_guard<std::mutex> lock(Mutex);
    return State;
}

} // namespace zz
