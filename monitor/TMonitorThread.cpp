#include "monitor/TMonitorThread.h"

#include <string_view>
#include <thread>

namespace zz {
namespace {

// Pause of a pass while no run is active and the thread has not been suspended yet, so that
// the loop never spins.
constexpr int kIdlePassMs = 80;

} // namespace

TMonitorThread::TMonitorThread(TControlFlags& flags, TDisplay& display)
    : TThread(true), Flags(flags), Display(display), WindowCall(display)
{
    ResetReceiverState(Snapshot);
    SetThreadName("zz-monitor");
    FinishConstruction();
}

TMonitorThread::~TMonitorThread()
{
    // Resume, request termination and wait for the loop; a hand-off in flight is abandoned
    // rather than waited for, since this runs on the window thread the hand-off waits for.
    StopThread();
}

void TMonitorThread::SetProtocolThread(TGpsioThread* thread)
{
    // The loop may be waiting for a line inside the current thread, holding ProtocolMutex, with
    // no time limit: it is told not to wait again and woken, so that the lock comes free. Only
    // this (window) thread writes Protocol, so reading it here needs no lock.
    Detaching.store(true);
    if (Protocol != nullptr) {
        Protocol->WakeMonitor();
    }
    {
        std::lock_guard<std::mutex> lock(ProtocolMutex);
        Protocol = thread;
        Attachment.fetch_add(1);
    }
    Detaching.store(false);
}

void TMonitorThread::ResetCounts()
{
    DrOnlyCount = 0;
    SbasSaved.Valid = false;
}

bool TMonitorThread::RunForAttachment(uint32_t attachment, void (TMonitorThread::*work)())
{
    return WindowCall.Run([this, attachment, work] {
        if (Attachment.load() == attachment) {
            (this->*work)();
        }
    });
}

void TMonitorThread::Execute()
{
    MonitorLoop();
}

void TMonitorThread::WakeForTermination()
{
    WindowCall.Cancel();
}

void TMonitorThread::MonitorLoop()
{
    while (PassGate()) {
        TGpsioThread* protocol = nullptr;
        uint32_t attachment = 0;
        bool lineTaken = false;
        if (Flags.IsRunning()) {
            std::lock_guard<std::mutex> lock(ProtocolMutex);
            protocol = Protocol;
            attachment = Attachment.load();
            if (protocol != nullptr) {
                // While nothing arrives the wait has no time limit: a put, a detach or the
                // protocol thread's end wakes it; an idle link costs no periodic wake-up.
                lineTaken = protocol->TakeLine(LineBuffer.data(), LineLength, !Detaching.load()) !=
                            TTakeResult::Nothing;
            }
        }
        if (Detaching.load()) {
            // Let the window thread take the lock it is waiting for.
            std::this_thread::yield();
        }
        if (protocol == nullptr) {
            if (!SleepFor(kIdlePassMs)) {
                break;
            }
            continue;
        }
        if (lineTaken && Flags.IsRunning() && !Terminated()) {
            if (RunForAttachment(attachment, &TMonitorThread::AppendLogLine)) {
                SignalProtocol(protocol, &TSioThread::LineConsumed);
            }
        }
        if (Terminated() || !Flags.IsRunning()) {
            continue;
        }

        bool snapshotTaken = false;
        {
            std::lock_guard<std::mutex> lock(ProtocolMutex);
            if (Protocol == protocol) {
                snapshotTaken = protocol->TakeSnapshot(Snapshot);
            }
        }
        if (snapshotTaken && Flags.IsRunning()) {
            if (RunForAttachment(attachment, &TMonitorThread::UpdateDisplays)) {
                DisplayPending.store(0);
                SignalProtocol(protocol, &TSioThread::DisplayDone);
            }
        }
    }
}

void TMonitorThread::SignalProtocol(TGpsioThread* expected, TEvent TSioThread::*event)
{
    std::lock_guard<std::mutex> lock(ProtocolMutex);
    if (Protocol == expected) {
        (expected->*event).Set();
    }
}

void TMonitorThread::RunDisplayCycle(const TReceiverState& state)
{
    Snapshot = state;
    UpdateDisplays();
}

void TMonitorThread::AppendLogLine()
{
    if (Flags.IsRunning()) {
        Display.AppendLogLine(std::string_view(LineBuffer.data(), static_cast<size_t>(LineLength)));
    }
}

} // namespace zz
