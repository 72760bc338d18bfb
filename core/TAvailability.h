#pragma once

#include <cstdint>
#include <optional>

#include "core/FixCycle.h"

namespace zz {

struct TAvailabilityReport
{
    uint64_t Cycles = 0;
    uint64_t FixedCycles = 0; // GPS, DGPS and (NMEA) dead reckoning, as the TTFF counts them
    // Every cycle by the fix quality of its summary.
    uint64_t NoFix = 0;
    uint64_t Gps = 0;
    uint64_t Dgps = 0;
    uint64_t DeadReckoning = 0;
    uint64_t OtherQuality = 0; // any other code, or none reported
    // Fixed cycles by the fix mode reported in them.
    uint64_t Fixed2D = 0;
    uint64_t Fixed3D = 0;
    uint64_t FixedModeUnknown = 0;
    // The longest run of cycles without a fix, and the receiver time it lasted: from its first
    // cycle to the fixed cycle that ended it (or to its last cycle, at the end of the stream).
    uint64_t LongestGapCycles = 0;
    std::optional<double> LongestGapSeconds;
    // The receiver time the cycles cover: the span of their times t1..tn stretched by n/(n-1),
    // one cycle period more; nothing with fewer than two timed cycles.
    std::optional<double> CoveredSeconds;
};

// Share of cycles with a fix, by quality and 2D/3D, and the gaps without one.
class TAvailability
{
public:
    explicit TAvailability(TProtocol protocol) : Protocol(protocol) {}

    void AddCycle(const TFixCycle& cycle);
    TAvailabilityReport Report() const;

private:
    void CloseGap(std::optional<double> endClock);

    TProtocol Protocol;
    TAvailabilityReport Counts;
    uint64_t GapCycles = 0;
    std::optional<double> GapStartClock;
    std::optional<double> LastClock;
    std::optional<double> FirstClock;
    uint64_t TimedCycles = 0;
};

} // namespace zz
