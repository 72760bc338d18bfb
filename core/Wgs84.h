#pragma once

namespace zz {

// The ellipsoid the receivers report in, and conversions between its geodetic coordinates, the
// earth-centred earth-fixed frame and a local east-north-up frame. Angles in degrees, lengths in
// metres.

inline constexpr double kWgs84SemiMajorAxis = 6378137.0;
inline constexpr double kWgs84Flattening = 1.0 / 298.257223563;
// First eccentricity squared.
inline constexpr double kWgs84EccentricitySquared = kWgs84Flattening * (2.0 - kWgs84Flattening);

struct TGeodetic
{
    double LatitudeDeg = 0.0;
    double LongitudeDeg = 0.0;
    double HeightM = 0.0; // above the ellipsoid
};

struct TEcef
{
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

struct TEnu
{
    double East = 0.0;
    double North = 0.0;
    double Up = 0.0;
};

TEcef GeodeticToEcef(const TGeodetic& point);
// Exact to well below a millimetre anywhere on or near the earth, the poles included.
TGeodetic EcefToGeodetic(const TEcef& point);

// The tangent frame at an origin: east, north and up there. It has no seam: points on both sides
// of the antimeridian, or around a pole, get continuous coordinates, as the frame is a rotation
// of the earth-fixed one. At a pole, east is taken along the origin's longitude + 90 degrees.
class TLocalFrame
{
public:
    explicit TLocalFrame(const TGeodetic& origin);

    TEnu ToEnu(const TGeodetic& point) const;
    TGeodetic ToGeodetic(const TEnu& point) const;
    const TGeodetic& Origin() const { return OriginPoint; }

private:
    TGeodetic OriginPoint;
    TEcef OriginEcef;
    // Rows of the rotation from earth-fixed to east-north-up.
    TEcef EastAxis;
    TEcef NorthAxis;
    TEcef UpAxis;
};

// A receiver's ddmm.mmmm (dddmm.mmmm) coordinate, negative for south and west, in degrees.
double DdmmToDegrees(double value);

} // namespace zz
