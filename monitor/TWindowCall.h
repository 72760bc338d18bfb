#pragma once

#include <functional>
#include <memory>

#include "monitor/TDisplay.h"

namespace zz {

// A synchronous call from the monitor thread onto the window thread that can be abandoned.
// Run posts the work and waits until the window thread has run it. Cancel (from any thread,
// in practice the window thread when it ends the monitor) releases a waiting Run at once; work
// not started by then never runs, so it cannot touch a monitor that is going away. Work already
// running is waited for. Once cancelled, every later Run returns at once without running.
class TWindowCall
{
public:
    explicit TWindowCall(TDisplay& display);
    ~TWindowCall();
    TWindowCall(const TWindowCall&) = delete;
    TWindowCall& operator=(const TWindowCall&) = delete;

    // True when the work ran; false when the call was cancelled before it started.
    [[nodiscard]] bool Run(std::function<void()> work);
    void Cancel();

private:
    struct TState;

    TDisplay& Display;
    std::shared_ptr<TState> State;
};

} // namespace zz
