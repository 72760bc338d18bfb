#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/SkyPlot.h"
#include "core/TControlFlags.h"
#include "core/TLineRing.h"
#include "core/TReceiverState.h"
#include "io/TGpsioThread.h"
#include "io/TThread.h"
#include "monitor/TDisplay.h"
#include "monitor/TWindowCall.h"

namespace zz {

// The bridge between the protocol thread and the windows. Each pass of its loop takes at most
// one received line from the line ring and has the Log window show it, then takes a snapshot
// of the receiver state when a group changed and has the windows updated from it. Both
// hand-offs run on the window thread while this thread waits; the windows read only this
// object's copies (LineBuffer, Snapshot), never the protocol thread's live state.
//
// A run owns it: created suspended, resumed while a connection or a replay plays, suspended
// otherwise, destroyed at the end.
class TMonitorThread final : public TThread
{
public:
    TMonitorThread(TControlFlags& flags, TDisplay& display);
    ~TMonitorThread() override;

    // The protocol thread to take lines and snapshots from, or null (window thread). Returns
    // once the loop no longer uses the previous one, so that it may then be destroyed.
    void SetProtocolThread(TGpsioThread* thread);

    // Set by the decoders, cleared after each display cycle and when a replay starts playing.
    std::atomic<uint8_t> DisplayPending{0};

    // The counts of the display cycle kept between cycles start again: the DR-only count and
    // the saved SBAS satellites (window thread, with the window resets).
    void ResetCounts();

    // The display cycle over Snapshot; runs on the window thread.
    void UpdateDisplays();
    // Runs the display cycle for the given state on the calling (window) thread, as if a
    // snapshot had carried it; used to show a state without a protocol thread.
    void RunDisplayCycle(const TReceiverState& state);

protected:
    void Execute() override;
    void WakeForTermination() override;

private:
    void MonitorLoop();
    // Runs on the window thread: the line taken last goes to the Log window.
    void AppendLogLine();
    // Sets an event of the protocol thread, if that thread is still the current one.
    void SignalProtocol(TGpsioThread* expected, TEvent TSioThread::*event);

    // Runs work on the window thread and waits for it, unless the protocol thread it belongs
    // to was let go meanwhile: work queued just before a disconnect, a reconnect or a seek then
    // does nothing, so an ended run never writes to the windows.
    bool RunForAttachment(uint32_t attachment, void (TMonitorThread::*work)());

    TControlFlags& Flags;
    TDisplay& Display;
    TWindowCall WindowCall;
    // State of the display cycle kept between cycles; only the window thread touches it
    // (inside the hand-offs and in ResetCounts). The plot windows keep their own point counts.
    uint32_t DrOnlyCount = 0;
    bool CyclePointPending = false;
    // The SBAS part of the satellite table, put back behind a GPS table that arrives alone.
    TSbasSaved SbasSaved{};
    // Counts the protocol threads set; the window thread writes it, posted work compares it.
    std::atomic<uint32_t> Attachment{0};
    std::mutex ProtocolMutex; // held while the loop uses Protocol
    TGpsioThread* Protocol = nullptr;
    // SetProtocolThread is waiting for ProtocolMutex: the loop must not wait for a line.
    std::atomic<bool> Detaching{false};
    std::array<char, kLineSlotSize> LineBuffer{};
    int32_t LineLength = 0;
    TReceiverState Snapshot{};
};

} // namespace zz
