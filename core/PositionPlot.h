#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/NumberFormat.h"

namespace zz {

// The arithmetic of the position plot: coordinates in minutes of arc, the ground scale at the
// centre, the range in metres and the track colours. Latitude and longitude arrive in the
// receiver's ddmm.mmmm (dddmm.mmmm) form, negative for south and west.

// A ddmm.mmmm value in minutes of arc: d * 60 + (v - 100 d) with d the degrees truncated
// toward zero, so the sign is kept (3530.5 gives 2130.5, -3530.5 gives -2130.5).
double DdmmToMinutes(double value);

// True when the whole minutes of a ddmm.mmmm value are below 60; NaN is not well-formed.
bool IsWellFormedCoordinate(double value);

// A latitude and longitude the plot can place: both well-formed, within +-90 and +-180 degrees.
bool IsPlottableCoordinate(double latitude, double longitude);

// Metres per minute of arc along the parallel and along the meridian at a latitude, on the
// ellipsoid the receivers report in.
struct TMinuteScale
{
    double MetresPerLonMin = 0.0;
    double MetresPerLatMin = 0.0;
};
TMinuteScale MinuteScaleAt(double latitudeMin);

// The half-width typed into the range edit: a whole number of metres from 1 up, or nothing
// when the text is empty, not an integer or below 1.
std::optional<int32_t> ParseRangeMetres(std::string_view text);

// The range in metres that takes in a point d minutes beyond the centre, with 30 % to spare:
// trunc(1.3 |d| * metresPerMin) + 1.
int32_t GrownRangeMetres(double differenceMin, double metresPerMin);

// The scale labels at the ends of the axes: "+10m" and "-10m".
TShortText RangeMaxText(int32_t rangeMetres);
TShortText RangeMinText(int32_t rangeMetres);

// What a track point says about the fix of its cycle.
enum class TTrackClass
{
    NoFix,
    Gps2D,
    Gps3D,
    DrGps2D,
    DrGps3D,
    DrOnly,
    Other,
};
inline constexpr int kTrackClassCount = 7;

// A track point's colour as 0xRRGGBB.
uint32_t TrackColour(TTrackClass trackClass);

// The marker of the current position is white.
inline constexpr uint32_t kCurrentPositionColour = 0xFFFFFF;

// The legend's line for a track class ("    GPS or DGPS [3D]"); the four leading blanks leave
// room for the colour circle drawn over them.
std::string_view TrackLegendText(TTrackClass trackClass);
inline constexpr std::string_view kCurrentPositionLegend = "    Current position";

// The class of a cycle whose summary is still to be plotted, from its fix quality, fix mode and
// dead-reckoning status (1.0 while dead reckoning helps the fix). Quality 0 is NoFix; a quality
// other than 1, 2 or 6 is Other.
TTrackClass CycleTrackClass(int32_t fixQuality, int32_t fixMode, double rotStatus);

} // namespace zz
