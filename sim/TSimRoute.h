#pragma once

#include <vector>

namespace zz {

// Where the vehicle is at one moment and how it moves.
struct TSimRoutePoint
{
    double LatitudeDeg = 0.0;
    double LongitudeDeg = 0.0;
    double CourseDeg = 0.0; // true course, 0 up to 360
    double SpeedKmh = 0.0;
    double RateOfTurnDegMin = 0.0; // positive turning right
};

// A closed loop of waypoints around a centre, smoothed into a curve and driven round at a
// constant speed. The loop is a few kilometres long, so that the course and the rate of turn
// keep changing as on a drive through a town.
class TSimRoute
{
public:
    TSimRoute(double centreLatitudeDeg, double centreLongitudeDeg, double speedKmh);

    TSimRoutePoint At(double seconds) const;
    double LengthM() const { return Samples.back().DistanceM; }
    // Farthest point of the loop from its centre, in metres.
    double RadiusM() const;

private:
    struct TSample
    {
        double EastM = 0.0;
        double NorthM = 0.0;
        double DistanceM = 0.0; // along the loop from its start
    };

    // East and north offsets and the course at a distance along the loop.
    void Locate(double distanceM, double& eastM, double& northM, double& courseDeg) const;

    double CentreLatitudeDeg;
    double CentreLongitudeDeg;
    double SpeedKmh;
    std::vector<TSample> Samples;
};

} // namespace zz
