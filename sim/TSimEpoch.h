#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/TSimConstellation.h"

namespace zz {

// One satellite as the receiver reports it.
struct TSimSatelliteReport
{
    int Prn = 0;
    int Elevation = 0; // whole degrees
    int Azimuth = 0;   // whole degrees, 0..359
    int Cn0 = 0;       // dB-Hz
    bool Used = false;
    int Accuracy = 0; // accuracy class 0 (best) .. 15
};

// What the receiver knows at one output epoch; every sentence and frame of the epoch is
// written from it.
struct TSimEpoch
{
    int64_t Index = 0;
    // UTC
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Centiseconds = 0; // of the minute, 0..5999

    bool Fix = false;
    bool ThreeDimensional = false;
    double LatitudeDeg = 0.0;
    double LongitudeDeg = 0.0;
    double AltitudeM = 0.0;
    double GeoidSeparationM = 0.0;
    double SpeedKmh = 0.0;
    double CourseDeg = 0.0;
    double RateOfTurnDegMin = 0.0;
    int SatellitesUsed = 0;
    double Pdop = 0.0;
    double Hdop = 0.0;
    double Vdop = 0.0;

    // GPS satellites in view, in PRN order, and the SBAS satellites tracked.
    std::array<TSimSatelliteReport, kSimGpsSatellites> Satellites{};
    size_t SatelliteCount = 0;
    std::array<TSimSatelliteReport, kSimSbasSatellites> Sbas{};
    size_t SbasCount = 0;
};

// Program version the receiver reports after a restart: six decimal digits.
inline constexpr char kSimProgramVersion[] = "010203";

} // namespace zz
