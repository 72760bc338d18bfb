#include "core/TReceiverEvaluation.h"

namespace zz {

TReceiverEvaluation::TReceiverEvaluation(TProtocol protocol, std::optional<TGeodetic> reference,
                                         bool referenceHasHeight)
    : Protocol(protocol), Accuracy(reference, referenceHasHeight), Availability(protocol)
{
}

void TReceiverEvaluation::AddSnapshot(const TReceiverState& s)
{
    PositionSeen = PositionSeen || s.PositionUpdated;
    if (s.DateTimeUpdated) {
        static_cast<void>(Clock.Read({s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second}));
    }
    if (s.VersionUpdated) {
        Ttff.VersionReported();
    }
    if (s.TtffUpdated) {
        Ttff.Measured(s.Ttff / 100.0);
    }
    if (s.SatellitesUpdated || s.WavSatellitesUpdated) {
        Satellites.AddSkyReport(s);
    }
    TFixCycle finished;
    if (Cycles.Add(s, finished)) {
        AddCycle(finished);
    }
}

void TReceiverEvaluation::AddCycle(const TFixCycle& cycle)
{
    Availability.AddCycle(cycle);
    const bool fixed = HasFixPosition(cycle, Protocol);
    Ttff.Cycle(cycle, fixed);
    if (!fixed) {
        return;
    }
    Satellites.AddFixCycle(cycle);
    Accuracy.Add(DdmmToDegrees(cycle.Latitude), DdmmToDegrees(cycle.Longitude), cycle.AltitudeM);
}

void TReceiverEvaluation::RestartInLog(std::string_view command)
{
    Ttff.RestartInLog(command, Clock.Last());
}

void TReceiverEvaluation::RestartSent(std::string_view command)
{
    Ttff.RestartSent(command);
}

void TReceiverEvaluation::Finish()
{
    TFixCycle last;
    if (Cycles.Finish(last)) {
        AddCycle(last);
    }
    Ttff.Finish();
}

TEvaluationReport TReceiverEvaluation::Report() const
{
    TEvaluationReport report;
    report.Accuracy = Accuracy.Report();
    report.Availability = Availability.Report();
    report.Satellites = Satellites.Report();
    report.Ttff = Ttff.Report();
    report.PositionsWithoutCycles = PositionSeen && report.Availability.Cycles == 0;
    return report;
}

} // namespace zz
