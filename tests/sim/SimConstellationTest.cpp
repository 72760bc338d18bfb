#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "sim/TSimConstellation.h"

namespace zz {
namespace {

constexpr double kSiderealDay = 86'164.0905;
constexpr double kSomeMoment = 1'700'000'000.0;

const TGeodetic kPlaces[] = {
    {47.3769, 8.5417, 410.0}, {-33.8688, 151.2093, 20.0}, {40.7128, -74.0060, 10.0},
    {0.0, -160.0, 0.0},       {64.1466, -21.9426, 30.0},  {-54.8, -68.3, 0.0},
};

double Length(const TVector3& v)
{
    return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
}

TEST(SimConstellation, PrnsAreDistinctAndInTheirRanges)
{
    const TSimConstellation constellation(0.0);
    std::set<int> prns;
    for (size_t i = 0; i < constellation.GpsCount(); ++i) {
        EXPECT_GE(constellation.GpsPrn(i), 1);
        EXPECT_LE(constellation.GpsPrn(i), 32);
        prns.insert(constellation.GpsPrn(i));
    }
    EXPECT_EQ(prns.size(), constellation.GpsCount());
    for (size_t i = 0; i < constellation.SbasCount(); ++i) {
        EXPECT_GE(constellation.SbasPrn(i), 120);
        EXPECT_LE(constellation.SbasPrn(i), 138);
    }
}

TEST(SimConstellation, OrbitsAreCircularAndInclined)
{
    const TSimConstellation constellation(0.0);
    for (size_t i = 0; i < constellation.GpsCount(); ++i) {
        SCOPED_TRACE(constellation.GpsPrn(i));
        double highest = 0.0;
        for (double t = 0.0; t < kSiderealDay / 2.0; t += 600.0) {
            const TVector3 position = constellation.GpsPosition(i, kSomeMoment + t);
            EXPECT_NEAR(Length(position), 26'560'000.0, 1.0);
            highest = std::max(highest, std::fabs(position.Z));
            // Over the turning Earth a GPS satellite moves at about 3 km/s: its 3.87 km/s in
            // orbit less the Earth's turn beneath it (with the Earth turning the wrong way it
            // would be about 5 km/s).
            const TVector3 later = constellation.GpsPosition(i, kSomeMoment + t + 1.0);
            const double speed =
                Length({later.X - position.X, later.Y - position.Y, later.Z - position.Z});
            EXPECT_GT(speed, 2'600.0);
            EXPECT_LT(speed, 3'300.0);
        }
        // Over one revolution the satellite reaches 55 degrees of latitude, not more.
        const double topLatitude = std::asin(highest / 26'560'000.0) * kDegrees;
        EXPECT_LE(topLatitude, 55.0 + 1e-6);
        EXPECT_GT(topLatitude, 53.0);
    }
}

TEST(SimConstellation, SkyRepeatsAfterOneSiderealDayNotHalf)
{
    // A satellite goes round twice in a sidereal day while the Earth turns once, so the sky
    // repeats; after half a day the Earth has turned half-way and it does not.
    const TSimConstellation constellation(0.0);
    for (const TGeodetic& place : kPlaces) {
        SCOPED_TRACE(testing::Message() << place.LatitudeDeg << "," << place.LongitudeDeg);
        double largestHalfDayChange = 0.0;
        for (size_t i = 0; i < constellation.GpsCount(); ++i) {
            const TLookAngles now = LookAngles(place, constellation.GpsPosition(i, kSomeMoment));
            const TLookAngles day =
                LookAngles(place, constellation.GpsPosition(i, kSomeMoment + kSiderealDay));
            const TLookAngles halfDay =
                LookAngles(place, constellation.GpsPosition(i, kSomeMoment + kSiderealDay / 2));
            EXPECT_NEAR(day.ElevationDeg, now.ElevationDeg, 0.01);
            largestHalfDayChange =
                std::max(largestHalfDayChange, std::fabs(halfDay.ElevationDeg - now.ElevationDeg));
        }
        EXPECT_GT(largestHalfDayChange, 20.0);
    }
}

TEST(SimConstellation, EveryPlaceSeesEnoughSatellitesAllDay)
{
    const TSimConstellation constellation(0.0);
    for (const TGeodetic& place : kPlaces) {
        SCOPED_TRACE(testing::Message() << place.LatitudeDeg << "," << place.LongitudeDeg);
        size_t fewest = kSimGpsSatellites;
        size_t most = 0;
        for (double t = 0.0; t < kSiderealDay; t += 300.0) {
            std::array<TSimSkyPosition, kSimGpsSatellites> visible{};
            const size_t count = constellation.VisibleGps(place, kSomeMoment + t, 5.0, visible);
            fewest = std::min(fewest, count);
            most = std::max(most, count);
            for (size_t i = 0; i < count; ++i) {
                EXPECT_GE(visible[i].Angles.ElevationDeg, 5.0);
                EXPECT_LE(visible[i].Angles.ElevationDeg, 90.0);
                if (i > 0) {
                    EXPECT_LT(visible[i - 1].Prn, visible[i].Prn);
                }
            }
        }
        EXPECT_GE(fewest, 4U);
        EXPECT_LE(most, 16U);
        EXPECT_GE(most, 8U);
    }
}

TEST(SimConstellation, SatellitesDriftSlowlyAcrossTheSky)
{
    // Seen from the ground a GPS satellite moves well under a degree a minute, never jumps,
    // and is never still.
    const TSimConstellation constellation(0.0);
    const TGeodetic place = kPlaces[0];
    for (size_t i = 0; i < constellation.GpsCount(); ++i) {
        SCOPED_TRACE(constellation.GpsPrn(i));
        const TLookAngles before = LookAngles(place, constellation.GpsPosition(i, kSomeMoment));
        const TLookAngles after =
            LookAngles(place, constellation.GpsPosition(i, kSomeMoment + 60.0));
        if (before.ElevationDeg < 5.0 || before.ElevationDeg > 80.0) {
            continue;
        }
        const double elevationChange = std::fabs(after.ElevationDeg - before.ElevationDeg);
        const double azimuthChange =
            std::fabs(std::remainder(after.AzimuthDeg - before.AzimuthDeg, 360.0));
        EXPECT_LT(elevationChange, 1.0);
        EXPECT_LT(azimuthChange, 2.0);
        EXPECT_GT(elevationChange + azimuthChange, 0.05);
    }
}

TEST(SimConstellation, SbasSatellitesStayPutAboveTheHome)
{
    for (const TGeodetic& place : kPlaces) {
        SCOPED_TRACE(testing::Message() << place.LatitudeDeg << "," << place.LongitudeDeg);
        const TSimConstellation constellation(place.LongitudeDeg);
        std::array<TSimSkyPosition, kSimSbasSatellites> visible{};
        const size_t count = constellation.VisibleSbas(place, 5.0, visible);
        EXPECT_GE(count, 2U);
        for (size_t i = 0; i < constellation.SbasCount(); ++i) {
            // Geostationary: on the equatorial plane at 42,164 km.
            const TVector3 position = constellation.SbasPosition(i);
            EXPECT_NEAR(Length(position), 42'164'000.0, 1.0);
            EXPECT_NEAR(position.Z, 0.0, 1e-6);
        }
    }
}

} // namespace
} // namespace zz
