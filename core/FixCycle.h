#pragma once

#include <cstdint>
#include <optional>

#include "core/ReceiverSettings.h"
#include "core/ReceiverTime.h"

namespace zz {

// What the receiver reported in one cycle (from one header sentence, or one position frame, to
// the next): the position of the cycle summary and every other value reported during the
// cycle; a value not reported in the cycle is absent.
struct TFixCycle
{
    int32_t FixQuality = 0; // the state's code: 0 none, 1 GPS, 2 DGPS, 6 DR; others as read
    int32_t FixMode = 0;    // 1 none, 2 2D, 3 3D; the absent code when not reported
    double Latitude = 0.0;  // ddmm.mmmm, negative south; NoPosition when absent
    double Longitude = 0.0; // dddmm.mmmm, negative west; NoPosition when absent
    std::optional<double> AltitudeM;
    std::optional<int32_t> SatellitesUsed;
    std::optional<double> Pdop;
    std::optional<double> Hdop;
    std::optional<double> Vdop;
    std::optional<double> SpeedKmh;
    std::optional<double> CourseDeg;
    std::optional<TReportedTime> Time;
    // The receiver's running time of the cycle (see TReceiverClock), when it reported one.
    std::optional<double> ClockSeconds;
};

// Whether a fix quality counts as a fix, as the time-to-first-fix measurement counts it: GPS,
// DGPS and (NMEA only) dead reckoning.
bool IsValidFixQuality(int32_t fixQuality, TProtocol protocol);

// A fix whose position can be used: a valid quality and a well-formed latitude and longitude.
bool HasFixPosition(const TFixCycle& cycle, TProtocol protocol);

} // namespace zz
