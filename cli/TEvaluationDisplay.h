#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "cli/TPostQueue.h"
#include "monitor/TDisplay.h"

namespace zz::cli {

// The windows of the live evaluation commands: the thread that calls RunFor plays the window
// thread; each display cycle's snapshot goes to the sink, and the Information window's TTFF text
// is kept as the window would show it.
class TEvaluationDisplay final : public TDisplay
{
public:
    using TSnapshotSink = std::function<void(const TReceiverState&)>;

    explicit TEvaluationDisplay(TSnapshotSink sink) : Sink(std::move(sink)) {}

    void Post(std::function<void()> work) override { Queue.Post(std::move(work)); }
    void RunFor(std::chrono::milliseconds time) { Queue.RunFor(time); }
    void RunPending() { Queue.RunPending(); }

    void AppendLogLine(std::string_view) override {}
    void SetInfoText(TInfoLabel label, std::string_view text) override;
    void SetDrText(TDrLabel, std::string_view) override {}
    void SetDirection(const TDirectionView&) override {}
    void BeginUpdate(const TReceiverState& snapshot) override;

    // The TTFF label's text: what the display cycle wrote last, or a text the run set since.
    const std::string& TtffText() const { return Ttff; }
    void SetTtffText(std::string_view text) { Ttff = text; }

private:
    TSnapshotSink Sink;
    TPostQueue Queue;
    std::string Ttff = "--";
};

} // namespace zz::cli
