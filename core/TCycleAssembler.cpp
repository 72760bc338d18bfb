#include "core/TCycleAssembler.h"

#include <cmath>

#include "core/PositionPlot.h"

namespace zz {
namespace {

std::optional<double> Reported(double value)
{
    if (value == NoValue || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

bool IsValidFixQuality(int32_t fixQuality, TProtocol protocol)
{
    return fixQuality == 1 || fixQuality == 2 || (protocol == TProtocol::Nmea && fixQuality == 6);
}

bool HasFixPosition(const TFixCycle& cycle, TProtocol protocol)
{
    return IsValidFixQuality(cycle.FixQuality, protocol) &&
           IsPlottableCoordinate(cycle.Latitude, cycle.Longitude);
}

TCycleAssembler::TCycleAssembler()
{
    Start();
}

void TCycleAssembler::Start()
{
    Current = TFixCycle{};
    Current.FixQuality = NoCode;
    Current.FixMode = NoCode;
    Current.Latitude = NoPosition;
    Current.Longitude = NoPosition;
    PositionReported = false;
    PositionReports = 0;
}

bool TCycleAssembler::Add(const TReceiverState& snapshot, TFixCycle& finished)
{
    bool ended = false;
    if (snapshot.CycleUpdated) {
        finished = Current;
        finished.FixQuality = snapshot.CycleFixQuality;
        finished.FixMode = snapshot.CycleFixMode;
        finished.Latitude = snapshot.CycleLatitude;
        finished.Longitude = snapshot.CycleLongitude;
        Start();
        ended = true;
        ++Ended;
    }
    Apply(snapshot);
    return ended;
}

void TCycleAssembler::Apply(const TReceiverState& s)
{
    if (s.PositionUpdated) {
        Current.FixQuality = s.FixQuality;
        Current.Latitude = s.Latitude;
        Current.Longitude = s.Longitude;
        PositionReported = true;
        ++PositionReports;
    }
    if (s.AltitudeUpdated) {
        Current.AltitudeM = Reported(s.Altitude);
        Current.SatellitesUsed.reset();
        if (s.SatellitesUsed != NoCode) {
            Current.SatellitesUsed = s.SatellitesUsed;
        }
    }
    if (s.FixModeUpdated) {
        Current.FixMode = s.FixMode;
    }
    if (s.DopUpdated) {
        Current.Pdop = Reported(s.Pdop);
        Current.Hdop = Reported(s.Hdop);
        Current.Vdop = Reported(s.Vdop);
    }
    if (s.VelocityUpdated) {
        Current.SpeedKmh = Reported(s.Speed);
        Current.CourseDeg = Reported(s.Course);
    }
    if (s.DateTimeUpdated) {
        const TReportedTime time{s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second};
        Current.Time = time;
        Current.ClockSeconds = Clock.Read(time);
    }
}

bool TCycleAssembler::Finish(TFixCycle& last)
{
    // Several positions and never a cycle: the header sentence never came, and one cycle
    // made of the whole stream would be false.
    if (!PositionReported || (Ended == 0 && PositionReports > 1)) {
        return false;
    }
    last = Current;
    Start();
    return true;
}

} // namespace zz
