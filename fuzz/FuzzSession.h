#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TLineRing.h"
#include "core/TProtocolEngine.h"
#include "core/TReceiverState.h"
#include "fuzz/FuzzHooks.h"

namespace zz::fuzz {

// One fuzz input played against an engine. The first four bytes steer the run, the rest is the
// stream the receiver sent:
//
//   byte 0  chunk size - 1: the stream arrives in reads of this size
//   byte 1  bits 0-2 cycle header; bits 3-4 LFref (3 names no sentence); bit 5 SAref;
//           bit 6 VDref; bit 7 a replay is running (pacing and idle yields are taken)
//   byte 2  bits 0-5 set ASref, UTref, DDref, ROref, ACref, TSref to a choice that names no
//           sentence; bit 6 arms the first-fix measurement before the stream; bit 7 requests
//           termination for the second half of the stream
//   byte 3  raised before every other chunk: bit 0 PlotClearRequest, bit 1 SbasResetRequest,
//           bit 2 UsedPrnResetRequest, bit 3 FramerReset, bit 4 a new first-fix measurement;
//           bits 5-6 the replay speed; bit 7 the monitor's side (snapshot and lines) runs after
//           every chunk rather than once at the end
//
// Missing steering bytes read as zero, so every input is a valid run.
class FuzzSession
{
public:
    FuzzSession(const uint8_t* data, size_t size);

    // Feeds the stream chunk by chunk, raising the chosen requests between chunks as the
    // window thread would, and takes snapshots and lines as the monitor thread would.
    void Feed(TProtocolEngine& engine);
    // Takes every waiting line and a snapshot.
    void ServeMonitor(TProtocolEngine& engine);

    // The stream as text, no longer than a framed sentence or a typed command can be.
    std::string_view StreamText(size_t maxLength) const;

    TControlFlags Flags;
    TKeptValues Kept;
    FuzzHooks Hooks;

private:
    static uint8_t SteeringByte(const uint8_t* data, size_t size, size_t index);

    const uint8_t* Stream;
    size_t StreamSize;
    size_t ChunkSize;
    uint8_t Requests;
    bool ArmAtStart;
    bool TerminateSecondHalf;
    std::array<char, kLineSlotSize> Line{};
    TReceiverState Snapshot{};
};

} // namespace zz::fuzz
