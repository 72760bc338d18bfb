#pragma once

#include "core/TProtocolHooks.h"
#include "io/TLogFiles.h"

namespace zz {

// What a run tells the windows. Every call arrives on the window thread (the thread that runs
// the display's posted work), and only while the run that raised it is still the current one:
// an event of a connection already ended, or of a replay already moved elsewhere, is dropped.
class TRunEvents
{
public:
    virtual ~TRunEvents() = default;

    // "counting" once a restart has been seen, "--" when a measurement is armed.
    virtual void ShowTtffText(TTtffText text) = 0;
    // A counter restart of the receiver: the altitude and velocity series start again.
    virtual void ClearAltitudeVelocityPlots() = 0;
    // The receiver went away (unplugged, or the line hung up); the run is still open and the
    // window decides what follows (it disconnects).
    virtual void ReceiverLost() = 0;
    // The replay read its file to the end, or the file could not be read further (error is
    // then the error number, or -1 for a file cut short); the threads are already paused.
    virtual void ReplayEnded(int error) = 0;
    // A write to a log file failed for the first time in this recording; recording goes on.
    virtual void LogWriteFailed() = 0;
};

} // namespace zz
