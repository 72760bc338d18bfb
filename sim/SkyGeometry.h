#pragma once

#include <optional>
#include <span>

#include "core/Wgs84.h"

namespace zz {

// Earth-centred, Earth-fixed coordinates in metres.
struct TVector3
{
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

// Where a target stands in an observer's sky: degrees above the horizon (-90..90) and degrees
// clockwise from true north (0 up to, not including, 360).
struct TLookAngles
{
    double ElevationDeg = 0.0;
    double AzimuthDeg = 0.0;
};

// Dilutions of precision of a position solution.
struct TDops
{
    double Pdop = 0.0;
    double Hdop = 0.0;
    double Vdop = 0.0;
};

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegrees = 180.0 / kPi;

TVector3 EcefFromGeodetic(const TGeodetic& place);

// The sky position of target as seen from observer.
TLookAngles LookAngles(const TGeodetic& observer, const TVector3& target);

// DOPs of a solution for east, north, up and clock offset from the given satellites, by least
// squares in the observer's local frame. Nothing when fewer than four satellites are given or
// their geometry does not fix the solution.
std::optional<TDops> ComputeDops(std::span<const TLookAngles> satellites);

} // namespace zz
