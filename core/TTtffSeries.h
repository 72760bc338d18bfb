#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FixCycle.h"
#include "core/OrderStatistics.h"

namespace zz {

// Restarts listed one by one in a report; the summary covers them all.
inline constexpr size_t kListedRestarts = 1000;

enum class TTtffOutcome
{
    Fixed,            // the time to the first fix is known
    FixedWithoutTime, // a fix followed, but no receiver time came before the command (or with
                      // the fix) to measure it by
    NoFix,            // no fix before the next restart or the end
};

struct TTtffEntry
{
    std::string Command;
    TTtffOutcome Outcome = TTtffOutcome::NoFix;
    std::optional<double> Seconds;
};

struct TTtffReport
{
    uint64_t Restarts = 0;
    uint64_t Fixed = 0;
    uint64_t NotFixed = 0;
    std::vector<TTtffEntry> Listed; // the first kListedRestarts
    std::optional<double> Min;
    std::optional<double> Median;
    std::optional<double> P95;
    std::optional<double> Max;
};

// Min, median, 95th percentile and max of measured times to first fix.
void SummariseTtffs(std::vector<double> seconds, TTtffReport& report);

// The times to first fix of the restarts of a run or a log.
// - A restart sent to a live receiver is measured by the protocol engine, as the Information
//   window shows it: from the command to the first fix after the receiver's restart report.
// - A restart command found in a text log is measured in the receiver's own time: from the last
//   time it reported before the command to the time of the first fixed cycle after it showed
//   that it restarted (a version report, or a cycle without a fix). It may read up to one cycle
//   long, as the command fell somewhere inside the cycle before.
class TTtffSeries
{
public:
    void RestartInLog(std::string_view command, std::optional<double> clockNow);
    void RestartSent(std::string_view command);
    // The receiver reported its version: it has restarted (counts from the next cycle).
    void VersionReported();
    // A finished cycle, and whether it had a fix.
    void Cycle(const TFixCycle& cycle, bool fixed);
    // The engine's measurement of the pending live restart.
    void Measured(double seconds);
    // The end of the run or log: a restart still waiting got no fix.
    void Finish();
    TTtffReport Report() const;

private:
    enum class TPending
    {
        None,
        Engine,
        Log,
    };
    void Close(TTtffOutcome outcome, std::optional<double> seconds);
    void Open(std::string_view command, TPending kind);

    TPending Pending = TPending::None;
    std::string PendingCommand;
    std::optional<double> CommandClock;
    bool Restarted = false;   // the receiver showed its restart before the cycle in progress
    bool VersionSeen = false; // a version report came in the cycle in progress
    TTtffReport Counts;
    TReservoirSample<double> Measurements{10000};
};

} // namespace zz
