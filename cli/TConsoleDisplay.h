#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "cli/SnapshotJson.h"
#include "cli/TPostQueue.h"
#include "core/DisplayTexts.h"
#include "monitor/TDisplay.h"

namespace zz::cli {

// The windows of the headless monitor: the thread that calls RunFor plays the window thread,
// and each display cycle becomes one JSON line on the output, in the format of `decode`.
class TConsoleDisplay final : public TDisplay
{
public:
    TConsoleDisplay(bool withTexts, std::FILE* out);

    void Post(std::function<void()> work) override;
    // Runs posted work on the calling thread for at most the given time.
    void RunFor(std::chrono::milliseconds time);
    // Runs whatever is queued now and returns.
    void RunPending();

    void AppendLogLine(std::string_view line) override;
    void SetInfoText(TInfoLabel label, std::string_view text) override;
    void SetDrText(TDrLabel label, std::string_view text) override;
    void SetDirection(const TDirectionView& view) override;
    void BeginUpdate(const TReceiverState& snapshot) override;
    void EndUpdate() override;

    // A TTFF text written outside a cycle ("--" when armed, "counting"), shown with the next
    // line printed (window thread).
    void SetPendingTtffText(std::string_view text) { PendingTtffText = text; }

private:
    bool WithTexts;
    std::FILE* Out;
    TPostQueue Queue;
    // Window-thread state of the cycle being printed.
    std::string LastLine;
    TReceiverState Current{};
    TDisplayTexts Texts;
    std::string_view PendingTtffText;
    SnapshotJson Json;
    uint64_t Sequence = 0;
};

} // namespace zz::cli
