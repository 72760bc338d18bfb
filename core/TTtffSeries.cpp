#include "core/TTtffSeries.h"

#include <algorithm>

namespace zz {

void SummariseTtffs(std::vector<double> seconds, TTtffReport& report)
{
    std::sort(seconds.begin(), seconds.end());
    if (seconds.empty()) {
        return;
    }
    report.Min = seconds.front();
    report.Median = SortedQuantile(seconds, 0.5);
    report.P95 = SortedQuantile(seconds, 0.95);
    report.Max = seconds.back();
}

void TTtffSeries::Open(std::string_view command, TPending kind)
{
    if (Pending != TPending::None) {
        Close(TTtffOutcome::NoFix, std::nullopt);
    }
    Pending = kind;
    PendingCommand = command;
    Restarted = false;
    VersionSeen = false;
}

void TTtffSeries::Close(TTtffOutcome outcome, std::optional<double> seconds)
{
    ++Counts.Restarts;
    if (outcome == TTtffOutcome::NoFix) {
        ++Counts.NotFixed;
    } else {
        ++Counts.Fixed;
    }
    if (seconds) {
        Measurements.Add(*seconds);
    }
    if (Counts.Listed.size() < kListedRestarts) {
        Counts.Listed.push_back({PendingCommand, outcome, seconds});
    }
    Pending = TPending::None;
    PendingCommand.clear();
}

void TTtffSeries::RestartInLog(std::string_view command, std::optional<double> clockNow)
{
    Open(command, TPending::Log);
    CommandClock = clockNow;
}

void TTtffSeries::RestartSent(std::string_view command)
{
    Open(command, TPending::Engine);
}

void TTtffSeries::VersionReported()
{
    VersionSeen = true;
}

void TTtffSeries::Cycle(const TFixCycle& cycle, bool fixed)
{
    if (Pending != TPending::Log) {
        VersionSeen = false;
        return;
    }
    if (fixed && Restarted) {
        if (CommandClock && cycle.ClockSeconds && *cycle.ClockSeconds >= *CommandClock) {
            Close(TTtffOutcome::Fixed, *cycle.ClockSeconds - *CommandClock);
        } else {
            Close(TTtffOutcome::FixedWithoutTime, std::nullopt);
        }
        return;
    }
    // A fix in a cycle that began before the receiver showed its restart is an old one. The
    // version report comes inside a cycle, so it counts from the next cycle on.
    if (!fixed || VersionSeen) {
        Restarted = true;
    }
    VersionSeen = false;
}

void TTtffSeries::Measured(double seconds)
{
    if (Pending == TPending::Engine) {
        Close(TTtffOutcome::Fixed, seconds);
    }
}

void TTtffSeries::Finish()
{
    if (Pending != TPending::None) {
        Close(TTtffOutcome::NoFix, std::nullopt);
    }
}

TTtffReport TTtffSeries::Report() const
{
    TTtffReport report = Counts;
    SummariseTtffs(Measurements.Items(), report);
    return report;
}

} // namespace zz
