#pragma once

#include <cstdint>

namespace zz {

enum class TSimProtocol
{
    Nmea,
    Binary,
};

// How the simulated receiver is set up.
struct TSimSettings
{
    TSimProtocol Protocol = TSimProtocol::Nmea;
    double RateHz = 1.0; // output cycles per second
    int BaudRate = 9600; // line speed; 10 bits per byte
    uint64_t Seed = 1;   // of the measurement noise
    double StartLatitudeDeg = 47.3769;
    double StartLongitudeDeg = 8.5417;
    double AltitudeM = 410.0;
    double SpeedKmh = 30.0;
    int64_t StartUnixSeconds = 1'700'000'000; // UTC at the first cycle
    // Factor on the time a restart takes to a fix (and on its spell without satellites): below 1
    // for quick time-to-first-fix series, far above 1 for a receiver that does not fix.
    double FixDelayScale = 1.0;
};

} // namespace zz
