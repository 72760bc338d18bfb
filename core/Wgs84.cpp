#include "core/Wgs84.h"

#include <cmath>
#include <numbers>

#include "core/PositionPlot.h"

namespace zz {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kSemiMinorAxis = kWgs84SemiMajorAxis * (1.0 - kWgs84Flattening);
// Second eccentricity squared, e^2 / (1 - e^2).
constexpr double kSecondEccentricitySquared =
    kWgs84EccentricitySquared / (1.0 - kWgs84EccentricitySquared);

double Dot(const TEcef& a, const TEcef& b)
{
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

} // namespace

TEcef GeodeticToEcef(const TGeodetic& point)
{
    const double latitude = point.LatitudeDeg * kRadiansPerDegree;
    const double longitude = point.LongitudeDeg * kRadiansPerDegree;
    const double sinLatitude = std::sin(latitude);
    const double cosLatitude = std::cos(latitude);
    // Radius of curvature in the prime vertical.
    const double n = kWgs84SemiMajorAxis /
                     std::sqrt(1.0 - kWgs84EccentricitySquared * sinLatitude * sinLatitude);
    return {(n + point.HeightM) * cosLatitude * std::cos(longitude),
            (n + point.HeightM) * cosLatitude * std::sin(longitude),
            (n * (1.0 - kWgs84EccentricitySquared) + point.HeightM) * sinLatitude};
}

TGeodetic EcefToGeodetic(const TEcef& point)
{
    // Bowring's parametric start, then two Newton-like refinements of the latitude; the height
    // is taken along the normal in the form that stays accurate near the poles.
    const double p = std::hypot(point.X, point.Y);
    const double longitude = std::atan2(point.Y, point.X);
    double latitude = std::atan2(point.Z, p * (1.0 - kWgs84EccentricitySquared));
    for (int i = 0; i < 2; ++i) {
        const double beta =
            std::atan2((1.0 - kWgs84Flattening) * std::sin(latitude), std::cos(latitude));
        const double sinBeta = std::sin(beta);
        const double cosBeta = std::cos(beta);
        latitude = std::atan2(
            point.Z + kSecondEccentricitySquared * kSemiMinorAxis * sinBeta * sinBeta * sinBeta,
            p - kWgs84EccentricitySquared * kWgs84SemiMajorAxis * cosBeta * cosBeta * cosBeta);
    }
    const double sinLatitude = std::sin(latitude);
    const double n = kWgs84SemiMajorAxis /
                     std::sqrt(1.0 - kWgs84EccentricitySquared * sinLatitude * sinLatitude);
    const double height = p * std::cos(latitude) + point.Z * sinLatitude -
                          kWgs84SemiMajorAxis * kWgs84SemiMajorAxis / n;
    return {latitude / kRadiansPerDegree, longitude / kRadiansPerDegree, height};
}

TLocalFrame::TLocalFrame(const TGeodetic& origin)
    : OriginPoint(origin), OriginEcef(GeodeticToEcef(origin))
{
    const double latitude = origin.LatitudeDeg * kRadiansPerDegree;
    const double longitude = origin.LongitudeDeg * kRadiansPerDegree;
    const double sinLatitude = std::sin(latitude);
    const double cosLatitude = std::cos(latitude);
    const double sinLongitude = std::sin(longitude);
    const double cosLongitude = std::cos(longitude);
    EastAxis = {-sinLongitude, cosLongitude, 0.0};
    NorthAxis = {-sinLatitude * cosLongitude, -sinLatitude * sinLongitude, cosLatitude};
    UpAxis = {cosLatitude * cosLongitude, cosLatitude * sinLongitude, sinLatitude};
}

TEnu TLocalFrame::ToEnu(const TGeodetic& point) const
{
    const TEcef ecef = GeodeticToEcef(point);
    const TEcef d{ecef.X - OriginEcef.X, ecef.Y - OriginEcef.Y, ecef.Z - OriginEcef.Z};
    return {Dot(EastAxis, d), Dot(NorthAxis, d), Dot(UpAxis, d)};
}

TGeodetic TLocalFrame::ToGeodetic(const TEnu& point) const
{
    // The rotation is orthonormal: its transpose takes the frame back to earth-fixed axes.
    const TEcef ecef{
        OriginEcef.X + EastAxis.X * point.East + NorthAxis.X * point.North + UpAxis.X * point.Up,
        OriginEcef.Y + EastAxis.Y * point.East + NorthAxis.Y * point.North + UpAxis.Y * point.Up,
        OriginEcef.Z + EastAxis.Z * point.East + NorthAxis.Z * point.North + UpAxis.Z * point.Up};
    return EcefToGeodetic(ecef);
}

double DdmmToDegrees(double value)
{
    return DdmmToMinutes(value) / 60.0;
}

} // namespace zz
