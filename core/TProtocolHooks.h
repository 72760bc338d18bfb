#pragma once

#include <cstddef>
#include <cstdint>

#include "core/TReceiverState.h"

namespace zz {

// The texts that the decoders themselves put into the Information window's TTFF label.
enum class TTtffText
{
    Dashes,   // "--": a measurement was armed
    Counting, // "counting": the receiver reported its restart
};

// Everything the protocol engine reaches outside itself: the log files, the line-ring event,
// the monitor's display flag, the plots, the clock and the sleeps of a replay. The engine
// stays free of threads and OS calls; the layer that runs it supplies these. Every default
// does nothing, which is what a headless decode wants.
class TProtocolHooks
{
public:
    virtual ~TProtocolHooks() = default;

    // A received chunk, unframed, for the raw log.
    virtual void WriteRawChunk(const uint8_t* bytes, size_t count);
    // One received sentence (or the hexadecimal text of a frame) for the text log.
    virtual void WriteLogLine(const char* text, size_t count);
    // A line has been put into the line ring; called after dispatch, ring and log.
    virtual void LinePut(const char* text, size_t count);
    // A decoder completed an update of the receiver state.
    virtual void SetDisplayPending();
    // The decoders write the TTFF label; the window side brings the text onto its thread.
    virtual void ShowTtffText(TTtffText text);
    // Empty the altitude and velocity plots' series and zero the monitor's point counts.
    virtual void ClearAltitudeVelocityPlots();
    // Sleep of a replay pause or of the idle-byte yield.
    virtual void SleepMs(int milliseconds);
    // Now, in days, on a monotonic clock.
    virtual TimeStamp Now();
    // Termination of the protocol thread has been requested.
    virtual bool TerminationRequested();
};

// Bytes of a command go to the receiver through this, one byte per call.
class TByteSink
{
public:
    virtual ~TByteSink() = default;
    virtual void WriteByte(uint8_t byte) = 0;
};

} // namespace zz
