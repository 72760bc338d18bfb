#pragma once

#include <functional>
#include <string_view>

#include "core/DisplayCycle.h"
#include "core/TReceiverState.h"

namespace zz {

// The windows as the monitor sees them. The window layer implements it (the GUI, or the
// console of the headless monitor). Post is the only call made from the monitor thread; every
// other call is made on the window thread, inside work given to Post.
class TDisplay
{
public:
    virtual ~TDisplay() = default;

    // Queues work to run on the window thread and returns at once.
    virtual void Post(std::function<void()> work) = 0;

    // A received line for the Log window.
    virtual void AppendLogLine(std::string_view line) = 0;
    virtual void SetInfoText(TInfoLabel label, std::string_view text) = 0;
    virtual void SetDrText(TDrLabel label, std::string_view text) = 0;
    virtual void SetDirection(const TDirectionView& view) = 0;

    // A display cycle starts for this snapshot and ends. The snapshot's updated flags stay as
    // taken for the whole cycle, for every call in it.
    virtual void BeginUpdate(const TReceiverState& snapshot);
    virtual void EndUpdate();

    // The plot and satellite parts of the update steps, for the windows that draw them. The
    // position plot takes the cycle point that cyclePointPending announces, and clears it.
    virtual void PlotPosition(const TReceiverState& snapshot, bool& cyclePointPending);
    virtual void PlotAltitude(const TReceiverState& snapshot);
    virtual void PlotCourse(const TReceiverState& snapshot);
    virtual void ShowSatellites(const TReceiverState& snapshot);
    virtual void ShowAccuracy(const TReceiverState& snapshot);
};

} // namespace zz
