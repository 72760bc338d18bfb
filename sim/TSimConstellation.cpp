#include "sim/TSimConstellation.h"

#include <cmath>

namespace zz {
namespace {

constexpr double kOrbitRadius = 26'560'000.0;
constexpr double kGeostationaryRadius = 42'164'000.0;
constexpr double kInclination = 55.0 / kDegrees;
constexpr double kSiderealDay = 86'164.0905;
constexpr double kOrbitPeriod = kSiderealDay / 2.0;
constexpr double kEarthRotationRate = 2.0 * kPi / kSiderealDay;
constexpr double kOrbitRate = 2.0 * kPi / kOrbitPeriod;
constexpr int kPlanes = 6;
// Satellites in each plane: five in all but the last, which has four.
constexpr int kPerPlane[kPlanes] = {5, 5, 5, 5, 5, 4};
// PRNs not in service in this constellation.
constexpr int kUnusedPrns[] = {8, 17, 26};
constexpr int kSbasPrns[kSimSbasSatellites] = {129, 133, 137};
constexpr double kSbasLongitudeOffsets[kSimSbasSatellites] = {-40.0, 5.0, 45.0};

bool PrnUnused(int prn)
{
    for (int unused : kUnusedPrns) {
        if (prn == unused) {
            return true;
        }
    }
    return false;
}

} // namespace

TSimConstellation::TSimConstellation(double homeLongitudeDeg)
{
    int prn = 1;
    size_t index = 0;
    for (int plane = 0; plane < kPlanes; ++plane) {
        for (int slot = 0; slot < kPerPlane[plane]; ++slot) {
            while (PrnUnused(prn)) {
                ++prn;
            }
            TOrbit& orbit = GpsSatellites[index++];
            orbit.Prn = prn++;
            orbit.AscendingNodeRad = plane * 60.0 / kDegrees;
            // Even spacing in the plane, neighbouring planes staggered so that the satellites
            // do not cross the equator together.
            orbit.PhaseRad = (slot * 360.0 / kPerPlane[plane] + plane * 23.0) / kDegrees;
        }
    }
    for (size_t i = 0; i < kSimSbasSatellites; ++i) {
        double longitude = homeLongitudeDeg + kSbasLongitudeOffsets[i];
        longitude = std::remainder(longitude, 360.0);
        SbasSatellites[i] = {kSbasPrns[i], longitude};
    }
}

TVector3 TSimConstellation::GpsPosition(size_t index, double unixSeconds) const
{
    const TOrbit& orbit = GpsSatellites[index];
    const double argument = orbit.PhaseRad + std::fmod(kOrbitRate * unixSeconds, 2.0 * kPi);
    const double cosArgument = std::cos(argument);
    const double sinArgument = std::sin(argument);
    const double cosNode = std::cos(orbit.AscendingNodeRad);
    const double sinNode = std::sin(orbit.AscendingNodeRad);
    const double cosInclination = std::cos(kInclination);

    // Inertial position on the circular orbit.
    const double x =
        kOrbitRadius * (cosArgument * cosNode - sinArgument * cosInclination * sinNode);
    const double y =
        kOrbitRadius * (cosArgument * sinNode + sinArgument * cosInclination * cosNode);
    const double z = kOrbitRadius * sinArgument * std::sin(kInclination);

    // Turn the Earth under it.
    const double earthAngle = std::fmod(kEarthRotationRate * unixSeconds, 2.0 * kPi);
    const double cosEarth = std::cos(earthAngle);
    const double sinEarth = std::sin(earthAngle);
    return {cosEarth * x + sinEarth * y, -sinEarth * x + cosEarth * y, z};
}

TVector3 TSimConstellation::SbasPosition(size_t index) const
{
    const double longitude = SbasSatellites[index].LongitudeDeg / kDegrees;
    return {kGeostationaryRadius * std::cos(longitude), kGeostationaryRadius * std::sin(longitude),
            0.0};
}

size_t TSimConstellation::VisibleGps(const TGeodetic& observer, double unixSeconds, double maskDeg,
                                     std::array<TSimSkyPosition, kSimGpsSatellites>& out) const
{
    size_t count = 0;
    for (size_t i = 0; i < kSimGpsSatellites; ++i) {
        const TLookAngles angles = LookAngles(observer, GpsPosition(i, unixSeconds));
        if (angles.ElevationDeg >= maskDeg) {
            out[count++] = {GpsSatellites[i].Prn, angles};
        }
    }
    return count;
}

size_t TSimConstellation::VisibleSbas(const TGeodetic& observer, double maskDeg,
                                      std::array<TSimSkyPosition, kSimSbasSatellites>& out) const
{
    size_t count = 0;
    for (size_t i = 0; i < kSimSbasSatellites; ++i) {
        const TLookAngles angles = LookAngles(observer, SbasPosition(i));
        if (angles.ElevationDeg >= maskDeg) {
            out[count++] = {SbasSatellites[i].Prn, angles};
        }
    }
    return count;
}

} // namespace zz
