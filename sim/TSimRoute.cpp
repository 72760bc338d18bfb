#include "sim/TSimRoute.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "sim/SkyGeometry.h"

namespace zz {
namespace {

constexpr double kEarthRadius = 6'371'000.0;
constexpr int kSamplesPerLeg = 48;

struct TWaypoint
{
    double EastM;
    double NorthM;
};

// An irregular loop around the centre, visited clockwise: long straights, a tight corner and
// a few gentle bends.
constexpr std::array<TWaypoint, 9> kWaypoints = {{
    {0.0, 620.0},
    {420.0, 560.0},
    {700.0, 250.0},
    {650.0, -180.0},
    {380.0, -520.0},
    {-60.0, -600.0},
    {-480.0, -430.0},
    {-690.0, -40.0},
    {-420.0, 420.0},
}};

// Uniform Catmull-Rom point between b and c at parameter t (0..1).
double CatmullRom(double a, double b, double c, double d, double t)
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    return 0.5 * (2.0 * b + (c - a) * t + (2.0 * a - 5.0 * b + 4.0 * c - d) * t2 +
                  (3.0 * b - a - 3.0 * c + d) * t3);
}

double WrapDegrees(double degrees)
{
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped < 0.0) {
        wrapped += 360.0;
    }
    return wrapped >= 360.0 ? 0.0 : wrapped;
}

} // namespace

TSimRoute::TSimRoute(double centreLatitudeDeg, double centreLongitudeDeg, double speedKmh)
    : CentreLatitudeDeg(centreLatitudeDeg), CentreLongitudeDeg(centreLongitudeDeg),
      SpeedKmh(speedKmh)
{
    const size_t count = kWaypoints.size();
    Samples.reserve(count * kSamplesPerLeg + 1);
    for (size_t leg = 0; leg < count; ++leg) {
        const TWaypoint& a = kWaypoints[(leg + count - 1) % count];
        const TWaypoint& b = kWaypoints[leg];
        const TWaypoint& c = kWaypoints[(leg + 1) % count];
        const TWaypoint& d = kWaypoints[(leg + 2) % count];
        for (int step = 0; step < kSamplesPerLeg; ++step) {
            const double t = static_cast<double>(step) / kSamplesPerLeg;
            TSample sample;
            sample.EastM = CatmullRom(a.EastM, b.EastM, c.EastM, d.EastM, t);
            sample.NorthM = CatmullRom(a.NorthM, b.NorthM, c.NorthM, d.NorthM, t);
            if (!Samples.empty()) {
                const TSample& previous = Samples.back();
                sample.DistanceM = previous.DistanceM + std::hypot(sample.EastM - previous.EastM,
                                                                   sample.NorthM - previous.NorthM);
            }
            Samples.push_back(sample);
        }
    }
    // Close the loop on its first point.
    TSample closing = Samples.front();
    closing.DistanceM =
        Samples.back().DistanceM +
        std::hypot(closing.EastM - Samples.back().EastM, closing.NorthM - Samples.back().NorthM);
    Samples.push_back(closing);
}

double TSimRoute::RadiusM() const
{
    double radius = 0.0;
    for (const TSample& sample : Samples) {
        radius = std::max(radius, std::hypot(sample.EastM, sample.NorthM));
    }
    return radius;
}

void TSimRoute::Locate(double distanceM, double& eastM, double& northM, double& courseDeg) const
{
    const double length = LengthM();
    double along = std::fmod(distanceM, length);
    if (along < 0.0) {
        along += length;
    }
    auto next = std::upper_bound(
        Samples.begin(), Samples.end(), along,
        [](double value, const TSample& sample) { return value < sample.DistanceM; });
    if (next == Samples.end()) {
        next = Samples.end() - 1;
    }
    if (next == Samples.begin()) {
        next = Samples.begin() + 1;
    }
    const TSample& from = *(next - 1);
    const TSample& to = *next;
    const double span = to.DistanceM - from.DistanceM;
    const double fraction = span > 0.0 ? (along - from.DistanceM) / span : 0.0;
    eastM = from.EastM + (to.EastM - from.EastM) * fraction;
    northM = from.NorthM + (to.NorthM - from.NorthM) * fraction;
    courseDeg = WrapDegrees(std::atan2(to.EastM - from.EastM, to.NorthM - from.NorthM) * kDegrees);
}

TSimRoutePoint TSimRoute::At(double seconds) const
{
    const double speedMs = SpeedKmh / 3.6;
    const double distance = speedMs * seconds;
    double east = 0.0;
    double north = 0.0;
    double course = 0.0;
    Locate(distance, east, north, course);

    TSimRoutePoint point;
    point.LatitudeDeg = CentreLatitudeDeg + north / kEarthRadius * kDegrees;
    point.LongitudeDeg = CentreLongitudeDeg +
                         east / (kEarthRadius * std::cos(CentreLatitudeDeg / kDegrees)) * kDegrees;
    point.LongitudeDeg = std::remainder(point.LongitudeDeg, 360.0);
    point.CourseDeg = course;
    point.SpeedKmh = SpeedKmh;

    // Rate of turn: the change of course over the metres driven in the second around now.
    if (speedMs > 0.0) {
        const double halfWindow = std::max(speedMs * 0.5, 1.0);
        double before = 0.0;
        double after = 0.0;
        double ignored = 0.0;
        Locate(distance - halfWindow, ignored, ignored, before);
        Locate(distance + halfWindow, ignored, ignored, after);
        const double change = std::remainder(after - before, 360.0);
        const double windowSeconds = 2.0 * halfWindow / speedMs;
        point.RateOfTurnDegMin = change / windowSeconds * 60.0;
    }
    return point;
}

} // namespace zz
