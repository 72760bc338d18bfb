#include "core/TSatelliteStatistics.h"

#include <algorithm>

namespace zz {
namespace {

TDopQuantiles QuantilesOf(const TCentiHistogram& histogram)
{
    return {histogram.Quantile(0.5), histogram.Quantile(0.95), histogram.Max()};
}

} // namespace

void TSatelliteStatistics::AddSkyReport(const TReceiverState& s)
{
    ++SkyReports;
    const int listed = std::clamp(s.SatellitesInView, 0, kSatSlots);
    for (int i = 0; i < listed; ++i) {
        const int32_t prn = s.SatPrn[i];
        if (prn <= 0) {
            continue;
        }
        if (prn > kMaxCountedPrn) {
            ++OtherPrnSightings;
            continue;
        }
        TPrnCounts& counts = Counts[static_cast<size_t>(prn)];
        ++counts.Seen;
        if (std::find(std::begin(s.UsedPrn), std::end(s.UsedPrn), prn) != std::end(s.UsedPrn)) {
            ++counts.Used;
        }
        const int32_t cn0 = s.SatCn0[i];
        if (cn0 > 0) {
            counts.Cn0Min = counts.Cn0Count == 0 ? cn0 : std::min(counts.Cn0Min, cn0);
            ++counts.Cn0Count;
            counts.Cn0Sum += cn0;
        }
    }
}

void TSatelliteStatistics::AddFixCycle(const TFixCycle& cycle)
{
    if (cycle.SatellitesUsed && *cycle.SatellitesUsed >= 0) {
        ++UsedCountCycles;
        UsedCountSum += *cycle.SatellitesUsed;
    }
    if (cycle.Pdop) {
        Pdop.Add(*cycle.Pdop);
    }
    if (cycle.Hdop) {
        Hdop.Add(*cycle.Hdop);
    }
    if (cycle.Vdop) {
        Vdop.Add(*cycle.Vdop);
    }
}

TSatelliteReport TSatelliteStatistics::Report() const
{
    TSatelliteReport report;
    report.SkyReports = SkyReports;
    report.OtherPrnSightings = OtherPrnSightings;
    for (size_t prn = 1; prn < Counts.size(); ++prn) {
        const TPrnCounts& counts = Counts[prn];
        if (counts.Seen == 0) {
            continue;
        }
        TPrnReport line;
        line.Prn = static_cast<int32_t>(prn);
        line.Seen = counts.Seen;
        line.Used = counts.Used;
        if (counts.Cn0Count > 0) {
            line.MeanCn0 = counts.Cn0Sum / static_cast<double>(counts.Cn0Count);
            line.MinCn0 = counts.Cn0Min;
        }
        report.Prns.push_back(line);
    }
    if (UsedCountCycles > 0) {
        report.MeanSatellitesUsed = UsedCountSum / static_cast<double>(UsedCountCycles);
    }
    report.Pdop = QuantilesOf(Pdop);
    report.Hdop = QuantilesOf(Hdop);
    report.Vdop = QuantilesOf(Vdop);
    return report;
}

} // namespace zz
