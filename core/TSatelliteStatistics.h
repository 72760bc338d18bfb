#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/FixCycle.h"
#include "core/OrderStatistics.h"
#include "core/TReceiverState.h"

namespace zz {

// PRNs counted one by one; others count only in the totals.
inline constexpr int32_t kMaxCountedPrn = 999;

// One satellite over the reports that listed it.
struct TPrnReport
{
    int32_t Prn = 0;
    uint64_t Seen = 0; // reports that listed it in view
    uint64_t Used = 0; // of those, reports in which it was also in the solution
    std::optional<double> MeanCn0;
    std::optional<int32_t> MinCn0;
};

struct TDopQuantiles
{
    std::optional<double> Median;
    std::optional<double> P95;
    std::optional<double> Max;
};

struct TSatelliteReport
{
    uint64_t SkyReports = 0; // complete satellite tables (a GSV set, a satellite frame)
    std::vector<TPrnReport> Prns;
    uint64_t OtherPrnSightings = 0;           // listings of PRNs above kMaxCountedPrn
    std::optional<double> MeanSatellitesUsed; // over fixed cycles that reported the count
    TDopQuantiles Pdop;
    TDopQuantiles Hdop;
    TDopQuantiles Vdop;
};

// Per-PRN counts and C/N0 over the satellite tables, and the satellites used and dilutions of
// precision over the fixed cycles. A C/N0 of 0 is the receiver's "not tracked" and is not
// averaged. Memory is fixed: a slot per PRN and a histogram per DOP.
class TSatelliteStatistics
{
public:
    // A snapshot whose satellite table was completed.
    void AddSkyReport(const TReceiverState& snapshot);
    // A fixed cycle.
    void AddFixCycle(const TFixCycle& cycle);
    TSatelliteReport Report() const;

private:
    struct TPrnCounts
    {
        uint64_t Seen = 0;
        uint64_t Used = 0;
        uint64_t Cn0Count = 0;
        double Cn0Sum = 0.0;
        int32_t Cn0Min = 0;
    };

    std::vector<TPrnCounts> Counts = std::vector<TPrnCounts>(kMaxCountedPrn + 1);
    uint64_t SkyReports = 0;
    uint64_t OtherPrnSightings = 0;
    uint64_t UsedCountCycles = 0;
    double UsedCountSum = 0.0;
    TCentiHistogram Pdop;
    TCentiHistogram Hdop;
    TCentiHistogram Vdop;
};

} // namespace zz
