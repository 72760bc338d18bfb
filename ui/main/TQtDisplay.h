#pragma once

#include <functional>

#include "monitor/TDisplay.h"

class QObject;

namespace zz {

class TInfoForm;
class TLogForm;
class TROTForm;

// The display windows as the monitor thread sees them. Post queues work onto the thread of the
// context object (the main window), so every window call runs on the window thread; work still
// queued when the context goes away is dropped with it. The context outlives the monitor thread.
class TQtDisplay final : public TDisplay
{
public:
    TQtDisplay(QObject& context, TInfoForm& info, TLogForm& log, TROTForm& rot);

    void Post(std::function<void()> work) override;

    void AppendLogLine(std::string_view line) override;
    void SetInfoText(TInfoLabel label, std::string_view text) override;
    void SetDrText(TDrLabel label, std::string_view text) override;
    void SetDirection(const TDirectionView& view) override;
    void EndUpdate() override;

    // Runs on the window thread after each received line shown and each display cycle.
    void SetAfterUpdate(std::function<void()> afterUpdate) { AfterUpdate = std::move(afterUpdate); }

private:
    QObject* Context;
    TInfoForm& Info;
    TLogForm& Log;
    TROTForm& Rot;
    std::function<void()> AfterUpdate;
};

} // namespace zz
