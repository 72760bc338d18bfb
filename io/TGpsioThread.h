#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/TKeptValues.h"
#include "core/TLineRing.h"
#include "core/TProtocolEngine.h"
#include "core/TProtocolHooks.h"
#include "core/TReceiverState.h"
#include "io/COMSTATUS.h"
#include "io/TEvent.h"
#include "io/TLogFiles.h"
#include "io/TProtocolListener.h"
#include "io/TSioThread.h"

namespace zz {

// Longest wait of TakeLine on an empty ring, during a replay and otherwise.
inline constexpr int kTakeLineReplayWaitMs = 40;
inline constexpr int kTakeLineWaitMs = 80;

// The protocol thread: a serial port thread that runs a protocol engine (made by TNmea or
// TBinary) on what it reads, and supplies the engine's surroundings: the log files, the
// line-ring event, the monitor's DisplayPending, the windows' events, a sleep that termination
// cuts short and the monotonic clock. The monitor thread takes lines and snapshots from it; the
// window thread opens its port and sends commands through it.
class TGpsioThread : public TSioThread, public TProtocolHooks, private TByteSink
{
public:
    ~TGpsioThread() override;

    // Opens the port with the line settings the dialog described (XON/XOFF off unless asked).
    [[nodiscard]] bool OpenReceiverPort(const COMSTATUS& status);

    // One line from the ring (monitor thread). On an empty ring it waits for a put (40 ms
    // during a replay, else 80) and returns Nothing; Nothing at once once termination is asked.
    // With untilPut the wait outside a replay has no time limit: only a put, WakeMonitor or
    // the end of this thread ends it, so an idle link costs no wake-ups at all.
    [[nodiscard]] TTakeResult TakeLine(char* buffer, int32_t& count, bool untilPut = false);
    // Ends a wait of TakeLine at once (window thread, before the monitor lets go of this thread).
    void WakeMonitor() { LineRingEvent.Set(); }
    // The whole record when a group changed (monitor thread); false once termination is asked.
    [[nodiscard]] bool TakeSnapshot(TReceiverState& copy);

    // Commands (window thread); the bytes go to the port. False when the text was refused.
    bool SendText(const char* text, size_t count);
    bool SendWithChecksum(const char* text, size_t count);

    // The engine, for the window thread's other requests (ArmTtff, ClearCycleSeen, ...).
    TProtocolEngine& ProtocolEngine() { return *Engine; }

    // Set after every line put into the ring; TakeLine waits on it.
    TEvent LineRingEvent;

protected:
    TGpsioThread(bool createSuspended, TControlFlags& flags, const TKeptValues& kept,
                 std::atomic<uint8_t>& displayPending, TLogFiles* logFiles,
                 TProtocolListener* listener);

    // Called once by the subclass's constructor, before the thread can start.
    void SetEngine(std::unique_ptr<TProtocolEngine> engine);
    // Stops the body and waits until no monitor call is still inside this object.
    void StopProtocolThread();

    void ReceiveBytes(const uint8_t* bytes, size_t count) override;
    void ReceiverLost() override;

    const TKeptValues& Kept;

private:
    // The engine's surroundings (protocol thread, except where the engine says otherwise).
    void WriteRawChunk(const uint8_t* bytes, size_t count) override;
    void WriteLogLine(const char* text, size_t count) override;
    void LinePut(const char* text, size_t count) override;
    void SetDisplayPending() override;
    void ShowTtffText(TTtffText text) override;
    void ClearAltitudeVelocityPlots() override;
    void SleepMs(int milliseconds) override;
    TimeStamp Now() override;
    bool TerminationRequested() override;
    // The engine's port: one command byte.
    void WriteByte(uint8_t byte) override;

    TLogFiles* LogFiles;
    TProtocolListener* Listener;
    // Monitor calls inside TakeLine or TakeSnapshot; the destructor waits for them to leave.
    std::atomic<int> MonitorCalls{0};
    std::unique_ptr<TProtocolEngine> Engine;
};

} // namespace zz
