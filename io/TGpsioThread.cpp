#include "io/TGpsioThread.h"

#include <chrono>
#include <thread>

namespace zz {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// Counts a monitor call for as long as it is inside the protocol thread object.
class TMonitorCall
{
public:
    explicit TMonitorCall(std::atomic<int>& calls) : Calls(calls) { Calls.fetch_add(1); }
    ~TMonitorCall() { Calls.fetch_sub(1); }
    TMonitorCall(const TMonitorCall&) = delete;
    TMonitorCall& operator=(const TMonitorCall&) = delete;

private:
    std::atomic<int>& Calls;
};

} // namespace

TGpsioThread::TGpsioThread(bool createSuspended, TControlFlags& flags, const TKeptValues& kept,
                           std::atomic<uint8_t>& displayPending, TLogFiles* logFiles,
                           TProtocolListener* listener)
    : TSioThread(createSuspended, flags, displayPending), Kept(kept), LogFiles(logFiles),
      Listener(listener)
{
}

TGpsioThread::~TGpsioThread()
{
    StopProtocolThread();
}

void TGpsioThread::SetEngine(std::unique_ptr<TProtocolEngine> engine)
{
    Engine = std::move(engine);
    Engine->SetPort(this);
}

void TGpsioThread::StopProtocolThread()
{
    StopSerialThread();
    // A monitor waiting in TakeLine wakes now and sees the termination; the object may go
    // only once no monitor call is left inside it.
    LineRingEvent.Set();
    while (MonitorCalls.load() != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool TGpsioThread::OpenReceiverPort(const COMSTATUS& status)
{
    return OpenPort(status);
}

TTakeResult TGpsioThread::TakeLine(char* buffer, int32_t& count, bool untilPut)
{
    const TMonitorCall call(MonitorCalls);
    if (Terminated()) {
        return TTakeResult::Nothing;
    }
    const TTakeResult result = Engine->Ring().TakeLine(buffer, count);
    if (result == TTakeResult::Nothing) {
        // A put or the time limit: either way the caller comes back for the line, so whether
        // the event was set does not matter here.
        if (Flags.Replaying.load() == 1) {
            static_cast<void>(LineRingEvent.WaitFor(kTakeLineReplayWaitMs));
        } else if (untilPut) {
            LineRingEvent.Wait();
        } else {
            static_cast<void>(LineRingEvent.WaitFor(kTakeLineWaitMs));
        }
    }
    return result;
}

bool TGpsioThread::TakeSnapshot(TReceiverState& copy)
{
    const TMonitorCall call(MonitorCalls);
    if (Terminated()) {
        return false;
    }
    return Engine->TakeSnapshot(copy);
}

bool TGpsioThread::SendText(const char* text, size_t count)
{
    return Engine->SendText(text, count);
}

bool TGpsioThread::SendWithChecksum(const char* text, size_t count)
{
    return Engine->SendWithChecksum(text, count);
}

void TGpsioThread::ReceiveBytes(const uint8_t* bytes, size_t count)
{
    Engine->ReceiveBytes(bytes, count);
}

void TGpsioThread::ReceiverLost()
{
    if (Listener != nullptr) {
        Listener->ReceiverLost();
    }
}

void TGpsioThread::WriteRawChunk(const uint8_t* bytes, size_t count)
{
    if (LogFiles != nullptr && LogFiles->Recording()) {
        LogFiles->WriteRawChunk(bytes, count);
    }
}

void TGpsioThread::WriteLogLine(const char* text, size_t count)
{
    if (LogFiles != nullptr && LogFiles->Recording()) {
        LogFiles->WriteLogLine(text, count);
    }
}

void TGpsioThread::LinePut(const char*, size_t)
{
    LineRingEvent.Set();
}

void TGpsioThread::SetDisplayPending()
{
    DisplayPending.store(1);
}

void TGpsioThread::ShowTtffText(TTtffText text)
{
    if (Listener != nullptr) {
        Listener->ShowTtffText(text);
    }
}

void TGpsioThread::ClearAltitudeVelocityPlots()
{
    if (Listener != nullptr) {
        Listener->ClearAltitudeVelocityPlots();
    }
}

void TGpsioThread::SleepMs(int milliseconds)
{
    // The engine asks TerminationRequested itself after a pause.
    static_cast<void>(SleepFor(milliseconds));
}

TimeStamp TGpsioThread::Now()
{
    const std::chrono::duration<double> sinceEpoch =
        std::chrono::steady_clock::now().time_since_epoch();
    return sinceEpoch.count() / kSecondsPerDay;
}

bool TGpsioThread::TerminationRequested()
{
    return Terminated();
}

void TGpsioThread::WriteByte(uint8_t byte)
{
    WritePort(&byte, 1);
}

} // namespace zz
