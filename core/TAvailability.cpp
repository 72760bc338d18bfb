#include "core/TAvailability.h"

namespace zz {

void TAvailability::AddCycle(const TFixCycle& cycle)
{
    ++Counts.Cycles;
    switch (cycle.FixQuality) {
    case 0:
        ++Counts.NoFix;
        break;
    case 1:
        ++Counts.Gps;
        break;
    case 2:
        ++Counts.Dgps;
        break;
    case 6:
        ++Counts.DeadReckoning;
        break;
    default:
        ++Counts.OtherQuality;
        break;
    }
    if (cycle.ClockSeconds) {
        if (!FirstClock) {
            FirstClock = cycle.ClockSeconds;
        }
        LastClock = cycle.ClockSeconds;
        ++TimedCycles;
    }

    if (HasFixPosition(cycle, Protocol)) {
        ++Counts.FixedCycles;
        if (cycle.FixMode == 2) {
            ++Counts.Fixed2D;
        } else if (cycle.FixMode == 3) {
            ++Counts.Fixed3D;
        } else {
            ++Counts.FixedModeUnknown;
        }
        if (GapCycles > 0) {
            CloseGap(cycle.ClockSeconds);
        }
        return;
    }
    if (GapCycles == 0) {
        GapStartClock = cycle.ClockSeconds;
    }
    ++GapCycles;
}

void TAvailability::CloseGap(std::optional<double> endClock)
{
    if (GapCycles > Counts.LongestGapCycles) {
        Counts.LongestGapCycles = GapCycles;
        Counts.LongestGapSeconds.reset();
        if (GapStartClock && endClock && *endClock >= *GapStartClock) {
            Counts.LongestGapSeconds = *endClock - *GapStartClock;
        }
    }
    GapCycles = 0;
    GapStartClock.reset();
}

TAvailabilityReport TAvailability::Report() const
{
    TAvailability closed = *this;
    if (closed.GapCycles > 0) {
        closed.CloseGap(LastClock);
    }
    TAvailabilityReport report = closed.Counts;
    if (TimedCycles >= 2 && FirstClock && LastClock && *LastClock > *FirstClock) {
        const auto n = static_cast<double>(TimedCycles);
        report.CoveredSeconds = (*LastClock - *FirstClock) * n / (n - 1.0);
    }
    return report;
}

} // namespace zz
