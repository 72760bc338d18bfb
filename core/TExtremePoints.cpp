#include "core/TExtremePoints.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zz {

TExtremePoints::TExtremePoints()
{
    for (size_t i = 0; i < kDirections; ++i) {
        const double angle = 2.0 * std::numbers::pi * static_cast<double>(i) / kDirections;
        Axes[i] = {std::cos(angle), std::sin(angle)};
    }
}

void TExtremePoints::Add(const TPlanePoint& point)
{
    for (size_t i = 0; i < kDirections; ++i) {
        const double reach = point.East * Axes[i].East + point.North * Axes[i].North;
        if (Empty || reach > Reach[i]) {
            Reach[i] = reach;
            Points[i] = point;
        }
    }
    Empty = false;
}

double TExtremePoints::FarthestFrom(const TPlanePoint& centre) const
{
    if (Empty) {
        return 0.0;
    }
    double farthest = 0.0;
    for (const TPlanePoint& point : Points) {
        farthest =
            std::max(farthest, std::hypot(point.East - centre.East, point.North - centre.North));
    }
    return farthest;
}

double TExtremePoints::Tolerance()
{
    return 1.0 - std::cos(std::numbers::pi / kDirections);
}

} // namespace zz
