#include <gtest/gtest.h>

#include <cmath>

#include "sim/SkyGeometry.h"
#include "sim/TSimRoute.h"

namespace zz {
namespace {

constexpr double kEarthRadius = 6'371'000.0;

// Metres east and north of (latitude0, longitude0), for the short distances of a route.
void Offset(double latitude0, double longitude0, double latitude, double longitude, double& east,
            double& north)
{
    north = (latitude - latitude0) / kDegrees * kEarthRadius;
    east = std::remainder(longitude - longitude0, 360.0) / kDegrees * kEarthRadius *
           std::cos(latitude0 / kDegrees);
}

struct Place
{
    double Latitude;
    double Longitude;
};

const Place kCentres[] = {{47.3769, 8.5417},    {-33.8688, 151.2093}, {40.7128, -74.0060},
                          {-22.9068, -43.1729}, {0.0, 179.999},       {70.0, -179.999}};

TEST(SimRoute, DrivesAClosedLoopAroundTheCentre)
{
    for (const Place& centre : kCentres) {
        SCOPED_TRACE(testing::Message() << centre.Latitude << "," << centre.Longitude);
        const TSimRoute route(centre.Latitude, centre.Longitude, 36.0);
        const double lap = route.LengthM() / 10.0; // 36 km/h is 10 m/s
        EXPECT_GT(route.LengthM(), 2000.0);
        EXPECT_LT(route.LengthM(), 10000.0);

        for (double t = 0.0; t < lap; t += 7.0) {
            const TSimRoutePoint point = route.At(t);
            double east = 0.0;
            double north = 0.0;
            Offset(centre.Latitude, centre.Longitude, point.LatitudeDeg, point.LongitudeDeg, east,
                   north);
            EXPECT_LE(std::hypot(east, north), route.RadiusM() + 1.0);
            EXPECT_GE(point.LongitudeDeg, -180.0);
            EXPECT_LE(point.LongitudeDeg, 180.0);

            // One lap later the vehicle is back where it was.
            const TSimRoutePoint again = route.At(t + lap);
            EXPECT_NEAR(again.LatitudeDeg, point.LatitudeDeg, 1e-7);
            EXPECT_NEAR(std::remainder(again.LongitudeDeg - point.LongitudeDeg, 360.0), 0.0, 1e-7);
        }
    }
}

TEST(SimRoute, CourseSpeedAndRateOfTurnMatchTheMotion)
{
    for (const Place& centre : kCentres) {
        SCOPED_TRACE(testing::Message() << centre.Latitude << "," << centre.Longitude);
        const TSimRoute route(centre.Latitude, centre.Longitude, 54.0);
        int rightTurns = 0;
        int leftTurns = 0;
        for (double t = 0.0; t < route.LengthM() / 15.0; t += 3.0) {
            const TSimRoutePoint before = route.At(t - 0.5);
            const TSimRoutePoint now = route.At(t);
            const TSimRoutePoint after = route.At(t + 0.5);
            double east = 0.0;
            double north = 0.0;
            Offset(before.LatitudeDeg, before.LongitudeDeg, after.LatitudeDeg, after.LongitudeDeg,
                   east, north);
            // Distance over the second matches the speed; the course points along it.
            EXPECT_NEAR(std::hypot(east, north), 15.0, 0.2);
            const double bearing = std::atan2(east, north) * kDegrees;
            EXPECT_NEAR(std::remainder(now.CourseDeg - bearing, 360.0), 0.0, 3.0);
            EXPECT_GE(now.CourseDeg, 0.0);
            EXPECT_LT(now.CourseDeg, 360.0);
            EXPECT_DOUBLE_EQ(now.SpeedKmh, 54.0);

            // The rate of turn is the change of course per minute, right turns positive.
            const double change = std::remainder(after.CourseDeg - before.CourseDeg, 360.0);
            EXPECT_NEAR(now.RateOfTurnDegMin, change * 60.0, 2.0 + 0.05 * std::fabs(change * 60.0));
            rightTurns += now.RateOfTurnDegMin > 30.0;
            leftTurns += now.RateOfTurnDegMin < -30.0;
        }
        // A loop driven clockwise turns mostly right, but the route has a few bends.
        EXPECT_GT(rightTurns, 0);
        EXPECT_GT(rightTurns, leftTurns);
    }
}

TEST(SimRoute, AStandingVehicleStaysWhereItIs)
{
    const TSimRoute route(47.0, 8.0, 0.0);
    const TSimRoutePoint first = route.At(0.0);
    for (double t : {1.0, 60.0, 3600.0}) {
        SCOPED_TRACE(t);
        const TSimRoutePoint point = route.At(t);
        EXPECT_DOUBLE_EQ(point.LatitudeDeg, first.LatitudeDeg);
        EXPECT_DOUBLE_EQ(point.LongitudeDeg, first.LongitudeDeg);
        EXPECT_DOUBLE_EQ(point.RateOfTurnDegMin, 0.0);
        EXPECT_DOUBLE_EQ(point.SpeedKmh, 0.0);
    }
}

} // namespace
} // namespace zz
