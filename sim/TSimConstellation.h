#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/SkyGeometry.h"

namespace zz {

inline constexpr size_t kSimGpsSatellites = 29;
inline constexpr size_t kSimSbasSatellites = 3;

// A satellite as one observer sees it at one moment.
struct TSimSkyPosition
{
    int Prn = 0;
    TLookAngles Angles;
};

// The GPS satellites on circular orbits (six planes 60 degrees apart, 55 degrees inclination,
// half a sidereal day per revolution) and a few geostationary SBAS satellites. Positions are
// functions of absolute time, so the sky seen from a place depends only on the moment.
class TSimConstellation
{
public:
    // The SBAS satellites are parked at longitudes around homeLongitudeDeg, where the receiver
    // drives, so that a few of them are always above its horizon.
    explicit TSimConstellation(double homeLongitudeDeg);

    size_t GpsCount() const { return kSimGpsSatellites; }
    int GpsPrn(size_t index) const { return GpsSatellites[index].Prn; }
    // Earth-fixed position of GPS satellite index at unixSeconds (seconds since 1970 UTC).
    TVector3 GpsPosition(size_t index, double unixSeconds) const;

    size_t SbasCount() const { return kSimSbasSatellites; }
    int SbasPrn(size_t index) const { return SbasSatellites[index].Prn; }
    TVector3 SbasPosition(size_t index) const;

    // The GPS satellites at or above maskDeg seen from observer, in PRN order. Returns how many
    // were written to out.
    size_t VisibleGps(const TGeodetic& observer, double unixSeconds, double maskDeg,
                      std::array<TSimSkyPosition, kSimGpsSatellites>& out) const;
    size_t VisibleSbas(const TGeodetic& observer, double maskDeg,
                       std::array<TSimSkyPosition, kSimSbasSatellites>& out) const;

private:
    struct TOrbit
    {
        int Prn = 0;
        double AscendingNodeRad = 0.0; // right ascension of the ascending node
        double PhaseRad = 0.0;         // argument of latitude at unixSeconds 0
    };
    struct TGeostationary
    {
        int Prn = 0;
        double LongitudeDeg = 0.0;
    };

    std::array<TOrbit, kSimGpsSatellites> GpsSatellites{};
    std::array<TGeostationary, kSimSbasSatellites> SbasSatellites{};
};

} // namespace zz
