#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/FixCycle.h"

namespace zz {

// One point of a track written for a map: a fixed cycle in the units of map files.
struct TMapPoint
{
    double LatitudeDeg = 0.0;
    double LongitudeDeg = 0.0;
    std::optional<double> AltitudeM;
    std::optional<double> SpeedKmh;
    std::optional<double> CourseDeg;
    int32_t FixQuality = 0;
    int32_t FixMode = 0;
    std::optional<int32_t> SatellitesUsed;
    std::optional<double> Hdop;
    std::optional<TReportedTime> Time;
};

// The point of a cycle that has a fix position (HasFixPosition).
TMapPoint MapPointOf(const TFixCycle& cycle);

// "2024-03-01T12:00:05Z", with hundredths when the second has a fraction ("05.50"); nothing
// without a date and a time of day.
std::optional<std::string> IsoTimeText(const TReportedTime& time);

enum class TTrackFormat
{
    Gpx, // a GPX 1.1 track, one segment per run of fixes
    Kml, // KML 2.2: per run of fixes a line and a placemark per fix
    Csv, // a header line, then one line per fix
};

// Writes a track as it streams: every call appends text to out, which the caller may write
// away and clear at any time. Memory stays bounded whatever the number of points.
class TTrackWriter
{
public:
    virtual ~TTrackWriter() = default;

    virtual void Begin(std::string& out) = 0;
    virtual void Point(const TMapPoint& point, std::string& out) = 0;
    // Fixes were missing here: the next point starts a new piece of line.
    virtual void Break(std::string& out) = 0;
    virtual void End(std::string& out) = 0;
};

std::unique_ptr<TTrackWriter> MakeTrackWriter(TTrackFormat format, std::string_view name);

} // namespace zz
