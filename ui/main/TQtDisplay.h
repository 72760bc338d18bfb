#pragma once

#include <functional>

#include "monitor/TDisplay.h"

namespace zz {

class TInfoForm;
class TLogForm;
class TROTForm;
class TWindowQueue;

// The display windows as the monitor thread sees them. Post hands work to the window queue, so
// every window call runs on the window thread. The queue outlives the monitor thread.
class TQtDisplay final : public TDisplay
{
public:
    TQtDisplay(TWindowQueue& queue, TInfoForm& info, TLogForm& log, TROTForm& rot);

    void Post(std::function<void()> work) override;

    void AppendLogLine(std::string_view line) override;
    void SetInfoText(TInfoLabel label, std::string_view text) override;
    void SetDrText(TDrLabel label, std::string_view text) override;
    void SetDirection(const TDirectionView& view) override;
    void EndUpdate() override;

    // Runs on the window thread after each received line shown and each display cycle.
    void SetAfterUpdate(std::function<void()> afterUpdate) { AfterUpdate = std::move(afterUpdate); }

private:
    TWindowQueue& Queue;
    TInfoForm& Info;
    TLogForm& Log;
    TROTForm& Rot;
    std::function<void()> AfterUpdate;
};

} // namespace zz
