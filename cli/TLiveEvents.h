#pragma once

#include "cli/TEvaluationDisplay.h"
#include "session/TRunEvents.h"

namespace zz::cli {

// The run's events for the live evaluation commands, on the thread that plays the window
// thread: the TTFF texts reach the display's label, a lost receiver is noted.
class TLiveEvents final : public TRunEvents
{
public:
    explicit TLiveEvents(TEvaluationDisplay& display) : Display(display) {}

    void ShowTtffText(TTtffText text) override;
    // No plots to empty.
    void ClearAltitudeVelocityPlots() override {}
    void ReceiverLost() override { Lost = true; }
    void ReplayEnded(int) override {}
    // The recording feeds the link counts only; a failed write shows in them.
    void LogWriteFailed() override {}

    bool Lost = false;

private:
    TEvaluationDisplay& Display;
};

} // namespace zz::cli
