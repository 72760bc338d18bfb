#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/SkyGeometry.h"

namespace zz {
namespace {

// A point range metres from observer, at the given elevation and azimuth in its local frame.
TVector3 PointSeenAt(const TGeodetic& observer, double elevationDeg, double azimuthDeg,
                     double range)
{
    const double latitude = observer.LatitudeDeg / kDegrees;
    const double longitude = observer.LongitudeDeg / kDegrees;
    const double elevation = elevationDeg / kDegrees;
    const double azimuth = azimuthDeg / kDegrees;
    const double east = range * std::cos(elevation) * std::sin(azimuth);
    const double north = range * std::cos(elevation) * std::cos(azimuth);
    const double up = range * std::sin(elevation);
    const TVector3 origin = EcefFromGeodetic(observer);
    return {
        origin.X - std::sin(longitude) * east - std::sin(latitude) * std::cos(longitude) * north +
            std::cos(latitude) * std::cos(longitude) * up,
        origin.Y + std::cos(longitude) * east - std::sin(latitude) * std::sin(longitude) * north +
            std::cos(latitude) * std::sin(longitude) * up,
        origin.Z + std::cos(latitude) * north + std::sin(latitude) * up};
}

const TGeodetic kPlaces[] = {
    {47.3769, 8.5417, 410.0},  {-33.8688, 151.2093, 20.0},
    {40.7128, -74.0060, 10.0}, {-22.9068, -43.1729, 5.0},
    {0.0, 0.0, 0.0},           {64.1466, -21.9426, 30.0},
    {1.3521, 179.9, 0.0},
};

TEST(SkyGeometry, EcefOfKnownPlacesLiesOnTheEllipsoid)
{
    // On the equator at the prime meridian the point is one equatorial radius out on X; at a
    // pole it is one polar radius out on Z.
    const TVector3 equator = EcefFromGeodetic({0.0, 0.0, 0.0});
    EXPECT_NEAR(equator.X, 6378137.0, 1e-6);
    EXPECT_NEAR(equator.Y, 0.0, 1e-6);
    EXPECT_NEAR(equator.Z, 0.0, 1e-6);
    const TVector3 pole = EcefFromGeodetic({90.0, 0.0, 0.0});
    EXPECT_NEAR(pole.Z, 6356752.314, 1e-3);
    const TVector3 east = EcefFromGeodetic({0.0, 90.0, 100.0});
    EXPECT_NEAR(east.Y, 6378237.0, 1e-6);
    EXPECT_NEAR(east.X, 0.0, 1e-6);
}

TEST(SkyGeometry, LookAnglesFindPointsWhereTheyWerePut)
{
    struct Case
    {
        double Elevation;
        double Azimuth;
    };
    const Case cases[] = {{90.0, 0.0},  {0.0, 0.0},    {0.0, 90.0},  {0.0, 180.0},   {0.0, 270.0},
                          {45.0, 45.0}, {30.0, 300.0}, {5.0, 359.5}, {-10.0, 135.0}, {60.0, 210.0}};
    for (const TGeodetic& place : kPlaces) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "place " << place.LatitudeDeg << "," << place.LongitudeDeg
                         << " elevation " << c.Elevation << " azimuth " << c.Azimuth);
            const TLookAngles angles =
                LookAngles(place, PointSeenAt(place, c.Elevation, c.Azimuth, 20'000'000.0));
            EXPECT_NEAR(angles.ElevationDeg, c.Elevation, 1e-6);
            if (c.Elevation < 89.0) {
                EXPECT_NEAR(angles.AzimuthDeg, c.Azimuth, 1e-6);
            }
            EXPECT_GE(angles.AzimuthDeg, 0.0);
            EXPECT_LT(angles.AzimuthDeg, 360.0);
        }
    }
}

TEST(SkyGeometry, SatelliteStraightOverheadIsAtElevationNinety)
{
    for (const TGeodetic& place : kPlaces) {
        SCOPED_TRACE(testing::Message() << place.LatitudeDeg << "," << place.LongitudeDeg);
        // Above the place along its own vertical, at orbit height.
        TGeodetic high = place;
        high.HeightM = 20'180'000.0;
        EXPECT_NEAR(LookAngles(place, EcefFromGeodetic(high)).ElevationDeg, 90.0, 1e-6);
        // Down the same vertical it is straight below.
        TGeodetic deep = place;
        deep.HeightM = -3'000'000.0;
        EXPECT_NEAR(LookAngles(place, EcefFromGeodetic(deep)).ElevationDeg, -90.0, 1e-6);
    }
}

std::vector<TLookAngles> Rotated(const std::vector<TLookAngles>& satellites, double degrees)
{
    std::vector<TLookAngles> rotated = satellites;
    for (TLookAngles& satellite : rotated) {
        satellite.AzimuthDeg = std::fmod(satellite.AzimuthDeg + degrees, 360.0);
    }
    return rotated;
}

TEST(SkyGeometry, DopsOfAZenithSatelliteAndARingOnTheHorizon)
{
    // One satellite overhead and n on the horizon evenly spaced: east and north decouple with
    // weight n/2 each, up and clock share [[1, -1], [-1, n + 1]], so HDOP^2 = 4/n and
    // VDOP^2 = (n + 1)/n.
    for (int ring : {3, 4, 6}) {
        SCOPED_TRACE(ring);
        std::vector<TLookAngles> satellites = {{90.0, 0.0}};
        for (int i = 0; i < ring; ++i) {
            satellites.push_back({0.0, 360.0 * i / ring});
        }
        const auto dops = ComputeDops(satellites);
        ASSERT_TRUE(dops.has_value());
        const double n = ring;
        EXPECT_NEAR(dops->Hdop, std::sqrt(4.0 / n), 1e-9);
        EXPECT_NEAR(dops->Vdop, std::sqrt((n + 1.0) / n), 1e-9);
        EXPECT_NEAR(dops->Pdop, std::sqrt((n + 5.0) / n), 1e-9);
    }
}

TEST(SkyGeometry, DopsFollowTheGeometry)
{
    const std::vector<TLookAngles> spread = {{75.0, 10.0},  {40.0, 70.0},  {20.0, 140.0},
                                             {35.0, 200.0}, {15.0, 260.0}, {50.0, 320.0}};
    const auto dops = ComputeDops(spread);
    ASSERT_TRUE(dops.has_value());
    EXPECT_LE(dops->Hdop, dops->Pdop);
    EXPECT_LE(dops->Vdop, dops->Pdop);
    EXPECT_NEAR(dops->Pdop * dops->Pdop, dops->Hdop * dops->Hdop + dops->Vdop * dops->Vdop, 1e-9);

    // Turning the whole sky about the vertical changes nothing.
    for (double turn : {33.0, 90.0, 181.0}) {
        SCOPED_TRACE(turn);
        const auto turned = ComputeDops(Rotated(spread, turn));
        ASSERT_TRUE(turned.has_value());
        EXPECT_NEAR(turned->Pdop, dops->Pdop, 1e-9);
        EXPECT_NEAR(turned->Hdop, dops->Hdop, 1e-9);
    }

    // Another satellite never makes the solution worse.
    std::vector<TLookAngles> more = spread;
    more.push_back({25.0, 100.0});
    const auto better = ComputeDops(more);
    ASSERT_TRUE(better.has_value());
    EXPECT_LE(better->Pdop, dops->Pdop);

    // Satellites bunched in one part of the sky give a poor solution.
    const std::vector<TLookAngles> bunched = {
        {60.0, 10.0}, {55.0, 20.0}, {50.0, 15.0}, {65.0, 25.0}, {58.0, 5.0}};
    const auto poor = ComputeDops(bunched);
    ASSERT_TRUE(poor.has_value());
    EXPECT_GT(poor->Pdop, 5.0 * dops->Pdop);
}

TEST(SkyGeometry, NoDopsWithoutASolution)
{
    // Fewer than four satellites, and four on one cone around the vertical (up and clock
    // cannot be told apart).
    const std::vector<std::vector<TLookAngles>> cases = {
        {},
        {{45.0, 0.0}, {30.0, 120.0}, {60.0, 240.0}},
        {{30.0, 0.0}, {30.0, 90.0}, {30.0, 180.0}, {30.0, 270.0}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(ComputeDops(cases[i]).has_value());
    }
}

} // namespace
} // namespace zz
