#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TLineRing.h"
#include "core/TProtocolHooks.h"
#include "core/TReceiverState.h"

namespace zz {

inline constexpr int kCycleSeenMarks = 16;

// Sleep of one replay pause for each replay speed (slow, mid, fast).
inline constexpr int kReplayPauseMs[3] = {930, 185, 30};

// What both protocols share: the receiver state with its lock, the line ring, the cycle-seen
// marks, the cycle start, the time-to-first-fix steps, the replay pacing and the snapshot.
// The protocol thread drives ReceiveBytes; the monitor thread takes lines and snapshots; the
// window thread sends commands and arms the TTFF measurement.
class TProtocolEngine
{
public:
    TProtocolEngine(TControlFlags& flags, const TKeptValues& kept, TProtocolHooks& hooks);
    virtual ~TProtocolEngine() = default;
    TProtocolEngine(const TProtocolEngine&) = delete;
    TProtocolEngine& operator=(const TProtocolEngine&) = delete;

    // One chunk read from the port or from a replayed log (protocol thread).
    virtual void ReceiveBytes(const uint8_t* bytes, size_t count) = 0;
    // Sends a command as given (window thread). False when the encoder refused the text
    // (nothing was written and LastCommand is unchanged).
    virtual bool SendText(const char* text, size_t count) = 0;
    // Sends a command with the protocol's check information added (window thread).
    virtual bool SendWithChecksum(const char* text, size_t count);

    // Where commands go; null while no port is open (nothing is written then).
    void SetPort(TByteSink* port) { Port = port; }

    // Copies the whole record when a group changed and clears the updated flags at the
    // source; false (and nothing copied) when no flag was raised (monitor thread).
    [[nodiscard]] bool TakeSnapshot(TReceiverState& copy);

    // Arms the time-to-first-fix measurement after a restart command (window thread).
    void ArmTtff();

    // Copy of LastCommand, zero-terminated, into a kLastCommandSize buffer (window thread).
    void CopyLastCommand(char* buffer);

    TLineRing& Ring() { return LineRing; }

    // Pacing of a replay (protocol thread).
    void ReplayPause();
    void ClearCycleSeen();
    void PaceOnRepeat(int mark);

protected:
    std::unique_lock<std::mutex> LockState() { return std::unique_lock<std::mutex>(StateMutex); }

    // Starts a cycle: called by a decoder before it takes the state lock.
    void CycleStart();
    // First-fix test, after a position has been written (state lock held).
    void TestFirstFix(bool binaryFix);
    // The receiver reported its version (state lock held).
    void NoteRestartReport();
    // A byte outside any sentence or frame: during a replay, yield 1 ms every 500 such bytes.
    void CountIdleByte();
    // A decoder completed an update of the record.
    void MarkDisplayPending() { Hooks.SetDisplayPending(); }
    // PlotClearRequest served by the received-bytes handler: restart the sample counters.
    void ServePlotClearInReceive();
    // PlotClearRequest served by the dispatcher: clear the plots and restart the counters.
    void ServePlotClearInDispatch();
    // Writes a command's bytes to the port, if one is open.
    void WritePortByte(uint8_t byte);
    // Stores LastCommand (truncated to fit), under the state lock.
    void StoreLastCommand(const char* text, size_t count);

    TControlFlags& Flags;
    const TKeptValues& Kept;
    TProtocolHooks& Hooks;
    TReceiverState State{};
    std::array<uint8_t, kCycleSeenMarks> CycleSeen{};

private:
    std::mutex StateMutex;
    TLineRing LineRing;
    TByteSink* Port = nullptr;
    int32_t IdleByteCount = 0;
};

} // namespace zz
