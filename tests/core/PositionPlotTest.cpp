#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "core/DisplayTexts.h"
#include "core/PositionPlot.h"

namespace zz {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(PositionPlot, DdmmValuesBecomeSignedMinutes)
{
    const struct
    {
        double Value;
        double Minutes;
    } cases[] = {
        {3530.5, 2130.5}, {13930.25, 8370.25},  {-3530.5, -2130.5}, {-13930.25, -8370.25},
        {0.0, 0.0},       {59.75, 59.75},       {-59.75, -59.75},   {100.0, 60.0},
        {9000.0, 5400.0}, {-18000.0, -10800.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_DOUBLE_EQ(DdmmToMinutes(c.Value), c.Minutes);
    }
}

TEST(PositionPlot, OnlyWellFormedCoordinatesWithinTheGlobeArePlottable)
{
    const struct
    {
        double Latitude;
        double Longitude;
        bool Plottable;
    } cases[] = {
        {3530.5, 13930.25, true},    {3530.5, 13560.0, false}, // 60 minutes
        {3530.5, 13559.9999, true},  {3560.0, 13930.25, false},
        {-3559.99, -13959.99, true}, {-3560.0, 13930.25, false},
        {9000.0, 18000.0, true},     {-9000.0, -18000.0, true},
        {9000.0001, 0.0, false},     {0.0, 18000.5, false},
        {0.0, -18000.5, false},      {NoPosition, 13930.25, false},
        {3530.5, NoPosition, false}, {kNan, 0.0, false},
        {0.0, kNan, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Latitude << " " << c.Longitude);
        EXPECT_EQ(IsPlottableCoordinate(c.Latitude, c.Longitude), c.Plottable);
    }
    EXPECT_EQ(LongitudeText(13560.0).View(), "--");
}

TEST(PositionPlot, GroundScaleFollowsTheEllipsoid)
{
    // At the equator one minute of longitude is a times one minute of arc.
    const TMinuteScale equator = MinuteScaleAt(0.0);
    EXPECT_NEAR(equator.MetresPerLonMin, 1855.3248, 1e-4);
    EXPECT_NEAR(10.0 / equator.MetresPerLonMin, 0.00539, 1e-5);
    EXPECT_DOUBLE_EQ(equator.MetresPerLatMin, 1842.9045969787921);

    // Lengths of one degree at 45 degrees from the usual series expansions:
    // 111132.92 - 559.82 cos 2p + 1.175 cos 4p along the meridian,
    // 111412.84 cos p - 93.5 cos 3p + 0.118 cos 5p along the parallel.
    for (const double latitudeMin : {2700.0, -2700.0}) {
        SCOPED_TRACE(latitudeMin);
        const TMinuteScale mid = MinuteScaleAt(latitudeMin);
        EXPECT_NEAR(mid.MetresPerLatMin * 60.0, 111131.745, 0.1);
        EXPECT_NEAR(mid.MetresPerLonMin * 60.0, 78846.8, 0.1);
    }

    const TMinuteScale pole = MinuteScaleAt(5400.0);
    EXPECT_NEAR(pole.MetresPerLonMin, 0.0, 1e-9);
    EXPECT_GT(pole.MetresPerLatMin, equator.MetresPerLatMin);
}

TEST(PositionPlot, RangeEditTakesWholeMetresFromOne)
{
    const struct
    {
        std::string_view Text;
        std::optional<int32_t> Metres;
    } cases[] = {
        {"10", 10},
        {"1", 1},
        {"+25", 25},
        {"0010", 10},
        {"2147483647", 2147483647},
        {"", std::nullopt},
        {"0", std::nullopt},
        {"-5", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {" 10", std::nullopt},
        {"+", std::nullopt},
        {"+-5", std::nullopt},
        {"2147483648", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Text));
        EXPECT_EQ(ParseRangeMetres(c.Text), c.Metres);
    }
}

TEST(PositionPlot, GrownRangeKeepsThirtyPercentToSpare)
{
    const double metresPerMin = MinuteScaleAt(0.0).MetresPerLonMin;
    EXPECT_EQ(GrownRangeMetres(25.0 / metresPerMin, metresPerMin), 33);
    EXPECT_EQ(GrownRangeMetres(-25.0 / metresPerMin, metresPerMin), 33);
    EXPECT_EQ(GrownRangeMetres(0.05, 1842.9045969787921), 120); // 1.3 x 92.1 m
    EXPECT_EQ(GrownRangeMetres(0.0, metresPerMin), 1);

    EXPECT_EQ(RangeMaxText(10).View(), "+10m");
    EXPECT_EQ(RangeMinText(10).View(), "-10m");
    EXPECT_EQ(RangeMaxText(12345).View(), "+12345m");
}

TEST(PositionPlot, CycleFixGivesTheTrackColour)
{
    const struct
    {
        int32_t Quality;
        int32_t Mode;
        double Rot;
        TTrackClass Class;
        uint32_t Colour;
        const char* Legend;
    } cases[] = {
        {0, 3, 0.0, TTrackClass::NoFix, 0xFF3000, "    No fix"},
        {1, 2, 0.0, TTrackClass::Gps2D, 0xB0FFB0, "    GPS or DGPS [2D]"},
        {2, 2, NoCycleRotStatus, TTrackClass::Gps2D, 0xB0FFB0, "    GPS or DGPS [2D]"},
        {1, 3, 0.0, TTrackClass::Gps3D, 0x00F020, "    GPS or DGPS [3D]"},
        {2, 3, 0.0, TTrackClass::Gps3D, 0x00F020, "    GPS or DGPS [3D]"},
        {1, 2, 1.0, TTrackClass::DrGps2D, 0x90E0FF, "    DR+GPS [2D]"},
        {2, 3, 1.0, TTrackClass::DrGps3D, 0x00B0FF, "    DR+GPS [3D]"},
        {1, 1, 0.0, TTrackClass::Other, 0x000000, "    Other"},
        {2, NoCode, 1.0, TTrackClass::Other, 0x000000, "    Other"},
        {6, 3, 1.0, TTrackClass::DrOnly, 0xFFE000, "    DR only"},
        {6, 1, 0.0, TTrackClass::DrOnly, 0xFFE000, "    DR only"},
        {3, 3, 0.0, TTrackClass::Other, 0x000000, "    Other"},
        {NoCode, 3, 0.0, TTrackClass::Other, 0x000000, "    Other"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Quality << " " << c.Mode << " " << c.Rot);
        EXPECT_EQ(CycleTrackClass(c.Quality, c.Mode, c.Rot), c.Class);
        EXPECT_EQ(TrackColour(c.Class), c.Colour);
        EXPECT_EQ(TrackLegendText(c.Class), c.Legend);
    }
}

TEST(PositionPlot, CentreLatitudeTextKeepsItsFirstLine)
{
    const struct
    {
        double Latitude;
        const char* Text;
    } cases[] = {
        {3540.2058, "Latitude          \nN 035 40' 12.348\"\n0m"},
        {-9000.0, "Latitude          \nS 090 00' 00.000\"\n0m"},
        {0.0, "Latitude          \n000 00' 00.000\"\n0m"},
        {3560.0, "--"},
        {NoPosition, "--"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Latitude);
        EXPECT_EQ(LatitudeFullText(c.Latitude).View(), c.Text);
    }
    // The Information window's text is the same without its first line.
    EXPECT_EQ(LatitudeText(3540.2058).View(), "\nN 035 40' 12.348\"\n0m");
}

} // namespace
} // namespace zz
