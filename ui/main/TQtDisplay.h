#pragma once

#include <functional>

#include "monitor/TDisplay.h"

namespace zz {

class TAltiPlot;
class TCN;
class TInfoForm;
class TLogForm;
class TPosPlot;
class TROTForm;
class TSky;
class TTtrack;
class TVeloPlot;
class TWindowQueue;

// The display windows as the monitor thread sees them. Post hands work to the window queue, so
// every window call runs on the window thread. The queue outlives the monitor thread.
class TQtDisplay final : public TDisplay
{
public:
    // The windows the display cycle writes.
    struct TWindows
    {
        TInfoForm& Info;
        TLogForm& Log;
        TROTForm& Rot;
        TPosPlot& PosPlot;
        TAltiPlot& AltiPlot;
        TVeloPlot& VeloPlot;
        TTtrack& Ttrack;
        TCN& CN;
        TSky& Sky;
    };

    TQtDisplay(TWindowQueue& queue, const TWindows& windows);

    void Post(std::function<void()> work) override;

    void AppendLogLine(std::string_view line) override;
    void SetInfoText(TInfoLabel label, std::string_view text) override;
    void SetDrText(TDrLabel label, std::string_view text) override;
    void SetDirection(const TDirectionView& view) override;
    void PlotPosition(const TReceiverState& snapshot, bool& cyclePointPending) override;
    void PlotAltitude(const TReceiverState& snapshot) override;
    void PlotCourse(const TReceiverState& snapshot) override;
    void ShowSatellites(const TReceiverState& snapshot) override;
    void ShowAccuracy(const TReceiverState& snapshot) override;
    void EndUpdate() override;

    // Runs on the window thread after each received line shown and each display cycle.
    void SetAfterUpdate(std::function<void()> afterUpdate) { AfterUpdate = std::move(afterUpdate); }

private:
    TWindowQueue& Queue;
    TWindows Windows;
    std::function<void()> AfterUpdate;
};

} // namespace zz
