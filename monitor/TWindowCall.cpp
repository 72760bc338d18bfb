#include "monitor/TWindowCall.h"

#include <condition_variable>
#include <mutex>

namespace zz {

// Shared by the waiting monitor and the posted work, so that work left in the window thread's
// queue after a cancel finds its state alive and does nothing.
struct TWindowCall::TState
{
    enum class TPhase
    {
        Idle,
        Posted,
        Running,
        Done,
    };

    std::mutex Mutex;
    std::condition_variable Changed;
    TPhase Phase = TPhase::Idle;
    bool Cancelled = false;
    unsigned Generation = 0; // tells a stale posted call from the current one
};

TWindowCall::TWindowCall(TDisplay& display) : Display(display), State(std::make_shared<TState>())
{
}

TWindowCall::~TWindowCall()
{
    Cancel();
}

bool TWindowCall::Run(std::function<void()> work)
{
    using TPhase = TState::TPhase;
    unsigned generation = 0;
    {
        std::lock_guard<std::mutex> lock(State->Mutex);
        if (State->Cancelled) {
            return false;
        }
        State->Phase = TPhase::Posted;
        generation = ++State->Generation;
    }
    Display.Post([state = State, generation, work = std::move(work)] {
        {
            std::lock_guard<std::mutex> lock(state->Mutex);
            if (state->Cancelled || state->Generation != generation ||
                state->Phase != TPhase::Posted) {
                return;
            }
            state->Phase = TPhase::Running;
        }
        work();
        {
            std::lock_guard<std::mutex> lock(state->Mutex);
            state->Phase = TPhase::Done;
        }
        state->Changed.notify_all();
    });

    std::unique_lock<std::mutex> lock(State->Mutex);
    State->Changed.wait(lock, [this] {
        return State->Phase == TPhase::Done ||
               (State->Cancelled && State->Phase != TPhase::Running);
    });
    const bool ran = State->Phase == TPhase::Done;
    State->Phase = TPhase::Idle;
    return ran;
}

void TWindowCall::Cancel()
{
    using TPhase = TState::TPhase;
    {
        std::unique_lock<std::mutex> lock(State->Mutex);
        State->Cancelled = true;
        // Work that the window thread is running right now is let finish: it still uses the
        // monitor's buffers. The caller is never that same window thread.
        State->Changed.wait(lock, [this] { return State->Phase != TPhase::Running; });
    }
    State->Changed.notify_all();
}

} // namespace zz
