#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zz {

// A worker thread with the toolkit vocabulary: created suspended or running, Resume, Suspend,
// Terminate (a request the body honours), WaitFor (join) and the body Execute.
//
// Linux cannot stop a thread from outside, so suspension is a gate: the body passes it at the
// top of each pass (PassGate), and every wait of ours passes it again before returning, so a
// suspended thread does no further work until it is resumed. Suspend does not wait for the
// body: the step in progress runs to its end first. It must not wait, because the body may be
// waiting for the very thread that suspends it.
//
// The body starts at the first Resume, once the object is complete. The class that ends a
// hierarchy calls FinishConstruction last in its constructor (a thread created running starts
// there) and StopThread first in its destructor, before anything the body uses is destroyed.
class TThread
{
public:
    explicit TThread(bool createSuspended);
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Resume();
    void Suspend();
    bool Suspended() const;
    // Asks the body to end; it sees the request at its next gate or wait.
    void Terminate();
    bool Terminated() const { return TerminateRequested.load(); }
    // Returns when the body has returned (at once if it never started).
    void WaitFor();

    // The body's native handle, for per-thread measurements; meaningful once it started.
    std::thread::native_handle_type NativeHandle();

protected:
    virtual void Execute() = 0;
    // Lets a body blocked in a wait of its own (poll) end at once on Terminate.
    virtual void WakeForTermination();

    void FinishConstruction();
    // The name the body's thread carries (as top and /proc show it), at most 15 characters;
    // set before the body starts.
    void SetThreadName(const char* name);
    // Terminate, resume if suspended, wait for the body.
    void StopThread();

    // Blocks while suspended; false once termination has been requested.
    [[nodiscard]] bool PassGate();
    // Sleeps, cut short by Terminate, then passes the gate; false once terminated.
    [[nodiscard]] bool SleepFor(int milliseconds);

private:
    void StartBody();

    const bool CreateSuspended;
    std::array<char, 16> Name{};
    mutable std::mutex GateMutex;
    std::condition_variable GateChanged;
    bool SuspendedFlag = true;
    bool Started = false;
    std::atomic<bool> TerminateRequested{false};
    std::mutex JoinMutex;
    std::thread Body;
};

} // namespace zz
