#include "core/PositionPlot.h"

#include <charconv>
#include <cmath>

namespace zz {
namespace {

constexpr double kLatitudeLimit = 9000.0;   // 90 degrees in ddmm.mmmm
constexpr double kLongitudeLimit = 18000.0; // 180 degrees in dddmm.mmmm

// The receivers' ellipsoid: semi-major axis in metres and first eccentricity squared.
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kEccentricitySquared = 0.006694380015894481;
// One minute of arc in radians (pi / 10800).
constexpr double kRadiansPerMinute = 0.0002908882086657216;
// The meridian's radius of curvature at the equator times one minute: a (1 - e^2) pi / 10800.
constexpr double kMeridianMetresPerMinute = 1842.9045969787921;

constexpr double kRangeMargin = 0.3;

constexpr uint32_t kNoFixColour = 0xFF3000;
constexpr uint32_t kGps2DColour = 0xB0FFB0;
constexpr uint32_t kGps3DColour = 0x00F020;
constexpr uint32_t kDrGps2DColour = 0x90E0FF;
constexpr uint32_t kDrGps3DColour = 0x00B0FF;
constexpr uint32_t kDrOnlyColour = 0xFFE000;
constexpr uint32_t kOtherColour = 0x000000;

bool InRange(double value, double limit)
{
    return value >= -limit && value <= limit;
}

TShortText RangeText(char sign, int32_t rangeMetres)
{
    TShortText text;
    text.Append(sign);
    AppendZeroPadded(text, rangeMetres, 0);
    text.Append('m');
    return text;
}

} // namespace

double DdmmToMinutes(double value)
{
    const double degrees = std::trunc(value * 0.01);
    return degrees * 60.0 + (value - 100.0 * degrees);
}

bool IsWellFormedCoordinate(double value)
{
    const double magnitude = std::fabs(value);
    const double minutes = std::trunc(magnitude) - 100.0 * std::trunc(magnitude * 0.01);
    return minutes < 60.0;
}

bool IsPlottableCoordinate(double latitude, double longitude)
{
    return IsWellFormedCoordinate(latitude) && IsWellFormedCoordinate(longitude) &&
           InRange(longitude, kLongitudeLimit) && InRange(latitude, kLatitudeLimit);
}

TMinuteScale MinuteScaleAt(double latitudeMin)
{
    const double latitude = latitudeMin * kRadiansPerMinute;
    const double s = std::sin(latitude);
    const double w = std::sqrt(1.0 - kEccentricitySquared * s * s);
    TMinuteScale scale;
    scale.MetresPerLonMin = std::fabs(std::cos(latitude)) * kSemiMajorAxis * kRadiansPerMinute / w;
    scale.MetresPerLatMin = kMeridianMetresPerMinute / (w * w * w);
    return scale;
}

std::optional<int32_t> ParseRangeMetres(std::string_view text)
{
    // An optional sign and decimal digits, nothing else; from_chars takes no '+' itself.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 1) {
        return std::nullopt;
    }
    return value;
}

int32_t GrownRangeMetres(double differenceMin, double metresPerMin)
{
    const double distance = std::fabs(differenceMin);
    return static_cast<int32_t>(std::trunc((distance + kRangeMargin * distance) * metresPerMin)) +
           1;
}

TShortText RangeMaxText(int32_t rangeMetres)
{
    return RangeText('+', rangeMetres);
}

TShortText RangeMinText(int32_t rangeMetres)
{
    return RangeText('-', rangeMetres);
}

uint32_t TrackColour(TTrackClass trackClass)
{
    switch (trackClass) {
    case TTrackClass::NoFix:
        return kNoFixColour;
    case TTrackClass::Gps2D:
        return kGps2DColour;
    case TTrackClass::Gps3D:
        return kGps3DColour;
    case TTrackClass::DrGps2D:
        return kDrGps2DColour;
    case TTrackClass::DrGps3D:
        return kDrGps3DColour;
    case TTrackClass::DrOnly:
        return kDrOnlyColour;
    case TTrackClass::Other:
        break;
    }
    return kOtherColour;
}

std::string_view TrackLegendText(TTrackClass trackClass)
{
    switch (trackClass) {
    case TTrackClass::NoFix:
        return "    No fix";
    case TTrackClass::Gps2D:
        return "    GPS or DGPS [2D]";
    case TTrackClass::Gps3D:
        return "    GPS or DGPS [3D]";
    case TTrackClass::DrGps2D:
        return "    DR+GPS [2D]";
    case TTrackClass::DrGps3D:
        return "    DR+GPS [3D]";
    case TTrackClass::DrOnly:
        return "    DR only";
    case TTrackClass::Other:
        break;
    }
    return "    Other";
}

TTrackClass CycleTrackClass(int32_t fixQuality, int32_t fixMode, double rotStatus)
{
    const bool deadReckoning = rotStatus == 1.0;
    switch (fixQuality) {
    case 0:
        return TTrackClass::NoFix;
    case 1:
    case 2:
        if (fixMode == 3) {
            return deadReckoning ? TTrackClass::DrGps3D : TTrackClass::Gps3D;
        }
        if (fixMode == 2) {
            return deadReckoning ? TTrackClass::DrGps2D : TTrackClass::Gps2D;
        }
        return TTrackClass::Other;
    case 6:
        return TTrackClass::DrOnly;
    default:
        return TTrackClass::Other;
    }
}

} // namespace zz
