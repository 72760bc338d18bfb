#pragma once

#include <atomic>
#include <cstdint>

#include "core/ReceiverSettings.h"

namespace zz {

// The control block through which the window thread steers the protocol and monitor threads
// and through which they learn whether a connection or a replay runs. Every field crosses
// threads, so every field is atomic. Request flags are set by the window thread and cleared,
// with an exchange, by the side that serves them.
struct TControlFlags
{
    std::atomic<int32_t> Running{0};
    std::atomic<int32_t> RecentreRequest{0};
    std::atomic<int32_t> PlotClearRequest{0};
    std::atomic<uint8_t> AltClearPending{0};
    std::atomic<uint8_t> VeloClearPending{0};
    std::atomic<int32_t> UsedPrnResetRequest{0};
    std::atomic<int32_t> SbasResetRequest{0};
    std::atomic<int32_t> GpsSatCount{0};
    std::atomic<int32_t> ReplayReference{0};
    std::atomic<uint8_t> Replaying{0};
    std::atomic<uint8_t> ReplayPlaying{0};
    std::atomic<uint8_t> FramerReset{0};
    std::atomic<uint8_t> ClearBeforePlay{0};
    std::atomic<int64_t> ReplaySize{0};
    // Mirror of the replay speed choice (0 slow, 1 mid, 2 fast), kept by the window thread
    // whenever the control changes, so the protocol thread never reads a widget.
    std::atomic<int32_t> ReplaySpeed{0};
    // Mirrors of the receiver setting dialog's live protocol and header-of-cycle selections,
    // read by the display cycle and by the raw-log marker.
    std::atomic<TProtocol> ProtocolSelection{TProtocol::Nmea};
    std::atomic<THeader> HeaderSelection{THeader::GGA};

    bool IsRunning() const { return Running.load() == 1; }

    // Serves a request flag: true when it was set, which it no longer is.
    template <typename T> static bool TakeRequest(std::atomic<T>& flag)
    {
        return flag.load(std::memory_order_relaxed) != 0 && flag.exchange(0) != 0;
    }
};

} // namespace zz
