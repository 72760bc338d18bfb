#pragma once

#include <array>
#include <cstddef>

namespace zz {

// A point of a plane, metres east and north.
struct TPlanePoint
{
    double East = 0.0;
    double North = 0.0;
};

// Keeps, out of a stream of plane points, the one reaching farthest in each of kDirections
// evenly spread directions. The farthest point of the whole stream from any centre is then
// found among the kept ones to within a factor cos(pi / kDirections): the true farthest point
// p lies on the circle around the centre that holds every point, so the kept point q of the
// direction d nearest to p - c satisfies |q - c| >= (q - c).d >= (p - c).d >= |p - c| cos(pi/K).
class TExtremePoints
{
public:
    static constexpr size_t kDirections = 360;

    TExtremePoints();
    void Add(const TPlanePoint& point);
    // The greatest distance from centre over the points added; 0 without points.
    double FarthestFrom(const TPlanePoint& centre) const;
    // Relative shortfall the result can have: 1 - cos(pi / kDirections).
    static double Tolerance();

private:
    std::array<TPlanePoint, kDirections> Axes;
    std::array<TPlanePoint, kDirections> Points{};
    std::array<double, kDirections> Reach{};
    bool Empty = true;
};

} // namespace zz
