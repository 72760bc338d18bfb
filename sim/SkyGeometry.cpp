#include "sim/SkyGeometry.h"

#include <array>
#include <cmath>
#include <utility>

namespace zz {
namespace {

using TMatrix4 = std::array<std::array<double, 4>, 4>;

// Inverts m in place by Gauss-Jordan elimination with partial pivoting; false when singular.
bool Invert(TMatrix4& m)
{
    TMatrix4 inverse{};
    for (size_t i = 0; i < 4; ++i) {
        inverse[i][i] = 1.0;
    }
    for (size_t column = 0; column < 4; ++column) {
        size_t pivot = column;
        for (size_t row = column + 1; row < 4; ++row) {
            if (std::fabs(m[row][column]) > std::fabs(m[pivot][column])) {
                pivot = row;
            }
        }
        if (std::fabs(m[pivot][column]) < 1e-12) {
            return false;
        }
        std::swap(m[pivot], m[column]);
        std::swap(inverse[pivot], inverse[column]);
        const double scale = 1.0 / m[column][column];
        for (size_t k = 0; k < 4; ++k) {
            m[column][k] *= scale;
            inverse[column][k] *= scale;
        }
        for (size_t row = 0; row < 4; ++row) {
            if (row == column) {
                continue;
            }
            const double factor = m[row][column];
            for (size_t k = 0; k < 4; ++k) {
                m[row][k] -= factor * m[column][k];
                inverse[row][k] -= factor * inverse[column][k];
            }
        }
    }
    m = inverse;
    return true;
}

} // namespace

TVector3 EcefFromGeodetic(const TGeodetic& place)
{
    const TEcef ecef = GeodeticToEcef(place);
    return {ecef.X, ecef.Y, ecef.Z};
}

TLookAngles LookAngles(const TGeodetic& observer, const TVector3& target)
{
    const TVector3 origin = EcefFromGeodetic(observer);
    const double dx = target.X - origin.X;
    const double dy = target.Y - origin.Y;
    const double dz = target.Z - origin.Z;
    const double latitude = observer.LatitudeDeg / kDegrees;
    const double longitude = observer.LongitudeDeg / kDegrees;
    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    const double sinLon = std::sin(longitude);
    const double cosLon = std::cos(longitude);
    const double east = -sinLon * dx + cosLon * dy;
    const double north = -sinLat * cosLon * dx - sinLat * sinLon * dy + cosLat * dz;
    const double up = cosLat * cosLon * dx + cosLat * sinLon * dy + sinLat * dz;

    TLookAngles angles;
    angles.ElevationDeg = std::atan2(up, std::hypot(east, north)) * kDegrees;
    double azimuth = std::atan2(east, north) * kDegrees;
    if (azimuth < 0.0) {
        azimuth += 360.0;
    }
    angles.AzimuthDeg = azimuth >= 360.0 ? 0.0 : azimuth;
    return angles;
}

std::optional<TDops> ComputeDops(std::span<const TLookAngles> satellites)
{
    if (satellites.size() < 4) {
        return std::nullopt;
    }
    // Normal matrix G^T G, each row of G being the unit vector from the satellite towards the
    // observer (east, north, up) and 1 for the clock.
    TMatrix4 normal{};
    for (const TLookAngles& satellite : satellites) {
        const double elevation = satellite.ElevationDeg / kDegrees;
        const double azimuth = satellite.AzimuthDeg / kDegrees;
        const std::array<double, 4> row = {-std::cos(elevation) * std::sin(azimuth),
                                           -std::cos(elevation) * std::cos(azimuth),
                                           -std::sin(elevation), 1.0};
        for (size_t i = 0; i < 4; ++i) {
            for (size_t j = 0; j < 4; ++j) {
                normal[i][j] += row[i] * row[j];
            }
        }
    }
    if (!Invert(normal)) {
        return std::nullopt;
    }
    const double horizontal = normal[0][0] + normal[1][1];
    const double vertical = normal[2][2];
    if (horizontal < 0.0 || vertical < 0.0) {
        return std::nullopt;
    }
    return TDops{std::sqrt(horizontal + vertical), std::sqrt(horizontal), std::sqrt(vertical)};
}

} // namespace zz
