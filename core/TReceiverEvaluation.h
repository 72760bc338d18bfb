#pragma once

#include <optional>
#include <string_view>

#include "core/AccuracyStatistics.h"
#include "core/TAvailability.h"
#include "core/TCycleAssembler.h"
#include "core/TSatelliteStatistics.h"
#include "core/TTtffSeries.h"

namespace zz {

struct TEvaluationReport
{
    TAccuracyReport Accuracy;
    TAvailabilityReport Availability;
    TSatelliteReport Satellites;
    TTtffReport Ttff;
    // Position reports seen while no cycle ever ended: the header sentence of the cycle never
    // came, so nothing was summarised (a hint to choose another header).
    bool PositionsWithoutCycles = false;
};

// Evaluates a receiver from the snapshots of its decoded output, a log's or a live run's, in one
// pass: cycles for availability, accuracy and the dilutions of precision, satellite tables for
// the per-PRN counts, and the restarts for the times to first fix.
class TReceiverEvaluation
{
public:
    TReceiverEvaluation(TProtocol protocol, std::optional<TGeodetic> reference,
                        bool referenceHasHeight);

    void AddSnapshot(const TReceiverState& snapshot);
    // A restart command found in a text log, between the snapshots before and after it.
    void RestartInLog(std::string_view command);
    // A restart command sent to a live receiver (the engine measures it).
    void RestartSent(std::string_view command);
    // The end of the stream: the cycle in progress is counted.
    void Finish();
    TEvaluationReport Report() const;

private:
    void AddCycle(const TFixCycle& cycle);

    TProtocol Protocol;
    TCycleAssembler Cycles;
    TAccuracyStatistics Accuracy;
    TAvailability Availability;
    TSatelliteStatistics Satellites;
    TTtffSeries Ttff;
    TReceiverClock Clock;
    bool PositionSeen = false;
};

} // namespace zz
