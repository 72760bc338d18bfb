#include "io/TThread.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace zz {

TThread::TThread(bool createSuspended) : CreateSuspended(createSuspended)
{
}

TThread::~TThread()
{
    // Last resort only: a derived class has already stopped the body (see FinishConstruction).
    Terminate();
    Resume();
    WaitFor();
}

void TThread::FinishConstruction()
{
    if (!CreateSuspended) {
        Resume();
    }
}

void TThread::SetThreadName(const char* name)
{
    const size_t length = std::min(std::strlen(name), Name.size() - 1);
    std::copy_n(name, length, Name.data());
    Name[length] = '\0';
}

void TThread::Resume()
{
    {
        std::lock_guard<std::mutex> lock(GateMutex);
        SuspendedFlag = false;
        if (!Started && !TerminateRequested.load()) {
            StartBody();
        }
    }
    GateChanged.notify_all();
}

void TThread::StartBody()
{
    Started = true;
    Body = std::thread([this] {
        if (Name[0] != '\0') {
            ::pthread_setname_np(::pthread_self(), Name.data());
        }
        Execute();
    });
}

void TThread::Suspend()
{
    std::lock_guard<std::mutex> lock(GateMutex);
    SuspendedFlag = true;
}

bool TThread::Suspended() const
{
    std::lock_guard<std::mutex> lock(GateMutex);
    return SuspendedFlag;
}

void TThread::Terminate()
{
    {
        std::lock_guard<std::mutex> lock(GateMutex);
        TerminateRequested.store(true);
    }
    GateChanged.notify_all();
    WakeForTermination();
}

void TThread::WakeForTermination()
{
}

void TThread::WaitFor()
{
    std::lock_guard<std::mutex> join(JoinMutex);
    {
        std::lock_guard<std::mutex> lock(GateMutex);
        if (!Started) {
            return;
        }
    }
    if (Body.joinable() && Body.get_id() != std::this_thread::get_id()) {
        Body.join();
    }
}

std::thread::native_handle_type TThread::NativeHandle()
{
    std::lock_guard<std::mutex> lock(GateMutex);
    return Body.native_handle();
}

void TThread::StopThread()
{
    Terminate();
    Resume();
    WaitFor();
}

bool TThread::PassGate()
{
    std::unique_lock<std::mutex> lock(GateMutex);
    GateChanged.wait(lock, [this] { return !SuspendedFlag || TerminateRequested.load(); });
    return !TerminateRequested.load();
}

bool TThread::SleepFor(int milliseconds)
{
    {
        std::unique_lock<std::mutex> lock(GateMutex);
        GateChanged.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [this] { return TerminateRequested.load(); });
    }
    return PassGate();
}

} // namespace zz
