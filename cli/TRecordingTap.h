#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "core/TLinkHealth.h"

namespace zz {
class TRun;
}

namespace zz::cli {

// Counts a live link exactly, whatever the display keeps up with: the run records its raw log and
// its text log into two pipes, which a thread of this object reads to the end. The raw log gives
// every byte received (less its marker line), the text log every sentence or frame framed, in
// full, for its check; sent-command lines are left out, as they were not received.
class TRecordingTap
{
public:
    // markerBytes: the marker line the raw log starts with (NMEA), not received.
    TRecordingTap(TProtocol protocol, size_t markerBytes);
    ~TRecordingTap();
    TRecordingTap(const TRecordingTap&) = delete;
    TRecordingTap& operator=(const TRecordingTap&) = delete;

    // Has the run record into the pipes; false, with the reason, when that fails.
    [[nodiscard]] bool Start(TRun& run, std::string& error);
    // Stops the run's recording, reads what is left and returns the counts.
    TLinkReport Stop(TRun& run);

private:
    void ReadLoop();
    void TakeLogBytes(const char* bytes, size_t count);

    TProtocol Protocol;
    size_t MarkerBytes;
    int RawRead = -1;
    int LogRead = -1;
    std::thread Reader;
    // The reader thread's own until it is joined.
    TLinkHealth Link;
    uint64_t RawBytes = 0;
    std::string Line;
};

} // namespace zz::cli
