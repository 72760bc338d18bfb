#include <gtest/gtest.h>

#include <cmath>

#include "core/Wgs84.h"

namespace zz {
namespace {

// Radii of curvature of the ellipsoid, from published tables: meridian at the equator a (1 - e^2),
// at the poles a / sqrt(1 - e^2); prime vertical at 60 degrees a / sqrt(1 - 0.75 e^2).
constexpr double kMeridianRadiusEquator = 6335439.327;
constexpr double kPolarRadius = 6399593.626;
constexpr double kPrimeVerticalRadius60 = 6394209.174;
constexpr double kRadiansPerDegree = 0.017453292519943295;

TEST(Wgs84, EarthFixedCoordinatesOfKnownPlaces)
{
    const struct
    {
        TGeodetic Place;
        TEcef Expected;
    } cases[] = {
        {{0.0, 0.0, 0.0}, {6378137.0, 0.0, 0.0}},
        {{0.0, 90.0, 0.0}, {0.0, 6378137.0, 0.0}},
        {{0.0, 180.0, 100.0}, {-6378237.0, 0.0, 0.0}},
        {{90.0, 0.0, 0.0}, {0.0, 0.0, 6356752.314245}},
        {{-90.0, 45.0, 10.0}, {0.0, 0.0, -6356762.314245}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Place.LatitudeDeg << " " << c.Place.LongitudeDeg);
        const TEcef ecef = GeodeticToEcef(c.Place);
        EXPECT_NEAR(ecef.X, c.Expected.X, 1e-3);
        EXPECT_NEAR(ecef.Y, c.Expected.Y, 1e-3);
        EXPECT_NEAR(ecef.Z, c.Expected.Z, 1e-3);
    }
}

TEST(Wgs84, GeodeticRoundTripHoldsEverywhereIncludingPolesAndAntimeridian)
{
    const TGeodetic places[] = {
        {47.3769, 8.5417, 410.0}, {-33.9, 151.2, -20.0},      {0.0, 180.0, 0.0},
        {0.0, -179.9999999, 5.0}, {89.9999999, 10.0, 3.0},    {-89.99, -120.0, 2500.0},
        {90.0, 0.0, 50.0},        {12.5, -0.0000001, 9000.0},
    };
    for (const TGeodetic& place : places) {
        SCOPED_TRACE(testing::Message() << place.LatitudeDeg << " " << place.LongitudeDeg);
        const TGeodetic back = EcefToGeodetic(GeodeticToEcef(place));
        EXPECT_NEAR(back.LatitudeDeg, place.LatitudeDeg, 1e-10);
        EXPECT_NEAR(back.HeightM, place.HeightM, 1e-4);
        if (std::fabs(place.LatitudeDeg) < 90.0) {
            // Longitude in the same turn: -180 and 180 are one meridian.
            EXPECT_NEAR(std::remainder(back.LongitudeDeg - place.LongitudeDeg, 360.0), 0.0, 1e-9);
        }
    }
}

TEST(Wgs84, LocalFrameScalesFollowTheEllipsoidsRadiiOfCurvature)
{
    // A step of 1e-5 degree, small enough that the arc is straight to a micrometre.
    const double step = 1e-5;
    const double stepRadians = step * kRadiansPerDegree;
    const struct
    {
        TGeodetic Origin;
        TGeodetic Moved;
        TEnu Expected;
    } cases[] = {
        {{0.0, 0.0, 0.0}, {step, 0.0, 0.0}, {0.0, kMeridianRadiusEquator * stepRadians, 0.0}},
        {{0.0, 0.0, 0.0}, {0.0, step, 0.0}, {6378137.0 * stepRadians, 0.0, 0.0}},
        {{60.0, 20.0, 0.0},
         {60.0, 20.0 + step, 0.0},
         {kPrimeVerticalRadius60 * 0.5 * stepRadians, 0.0, 0.0}},
        {{90.0 - step, 0.0, 0.0}, {90.0, 0.0, 0.0}, {0.0, kPolarRadius * stepRadians, 0.0}},
        {{10.0, 30.0, 100.0}, {10.0, 30.0, 112.5}, {0.0, 0.0, 12.5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Origin.LatitudeDeg << " " << c.Origin.LongitudeDeg);
        const TEnu enu = TLocalFrame(c.Origin).ToEnu(c.Moved);
        EXPECT_NEAR(enu.East, c.Expected.East, 1e-6);
        EXPECT_NEAR(enu.North, c.Expected.North, 2e-6);
        EXPECT_NEAR(enu.Up, c.Expected.Up, 1e-6);
    }
}

TEST(Wgs84, LocalFrameHasNoSeamAtTheAntimeridianNorAtThePole)
{
    // Two points 1e-5 degree either side of 180 degrees on the equator are 2.2 m apart.
    const TLocalFrame dateLine({0.0, 179.99999, 0.0});
    const TEnu across = dateLine.ToEnu({0.0, -179.99999, 0.0});
    EXPECT_NEAR(across.East, 2.0 * 6378137.0 * 1e-5 * kRadiansPerDegree, 1e-6);
    EXPECT_NEAR(across.North, 0.0, 1e-9);

    // Over the pole: from just short of it on the 0 meridian to just past it on the 180th is
    // due north twice the distance.
    const TLocalFrame nearPole({89.99999, 0.0, 0.0});
    const TEnu over = nearPole.ToEnu({89.99999, 180.0, 0.0});
    EXPECT_NEAR(over.North, 2.0 * kPolarRadius * 1e-5 * kRadiansPerDegree, 1e-5);
    EXPECT_NEAR(over.East, 0.0, 1e-6);

    // Back to geodetic from the frame at the pole itself.
    const TLocalFrame pole({90.0, 0.0, 0.0});
    const TGeodetic place = pole.ToGeodetic(pole.ToEnu({89.9995, -135.0, 12.0}));
    EXPECT_NEAR(place.LatitudeDeg, 89.9995, 1e-10);
    EXPECT_NEAR(place.LongitudeDeg, -135.0, 1e-7);
    EXPECT_NEAR(place.HeightM, 12.0, 1e-4);
}

TEST(Wgs84, ReceiverCoordinatesBecomeDegrees)
{
    EXPECT_DOUBLE_EQ(DdmmToDegrees(4722.614), 47.0 + 22.614 / 60.0);
    EXPECT_DOUBLE_EQ(DdmmToDegrees(-12030.0), -120.5);
    EXPECT_DOUBLE_EQ(DdmmToDegrees(17959.994), 179.0 + 59.994 / 60.0);
}

} // namespace
} // namespace zz
