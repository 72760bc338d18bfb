#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/DisplayTexts.h"
#include "core/ReceiverSettings.h"
#include "core/TReceiverState.h"

namespace zz {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(DisplayTexts, CodesNameTheirStateOrShowDashes)
{
    struct Case
    {
        const char* What;
        std::string_view (*Text)(int32_t);
        int32_t Code;
        const char* Expected;
    };
    const Case cases[] = {
        {"fix", FixText, 0, "No fix"},
        {"fix", FixText, 1, "GPS"},
        {"fix", FixText, 2, "DGPS"},
        {"fix", FixText, 6, "DR only"},
        {"fix", FixText, 3, "--"},
        {"fix", FixText, 4, "--"},
        {"fix", FixText, NoCode, "--"},
        {"fix", FixText, -1, "--"},
        {"dim", DimText, 1, "No fix"},
        {"dim", DimText, 2, "2D fix"},
        {"dim", DimText, 3, "3D fix"},
        {"dim", DimText, 0, "--"},
        {"dim", DimText, 4, "--"},
        {"dim", DimText, NoCode, "--"},
        {"rotst", RotStatusText, 1, "Active"},
        {"rotst", RotStatusText, 0, "Inactive"},
        {"rotst", RotStatusText, 2, "--"},
        {"rotst", RotStatusText, NoCode, "--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.What << " " << c.Code);
        EXPECT_EQ(c.Text(c.Code), c.Expected);
    }
}

TEST(DisplayTexts, NumbersWithinTheirRangesAndDashesOutside)
{
    struct Case
    {
        const char* What;
        TShortText (*Text)(double);
        double Value;
        const char* Expected;
    };
    const Case cases[] = {
        {"dop", DopText, 99.99, "99.99"},
        {"dop", DopText, 99.995, "--"},
        {"dop", DopText, -0.01, "--"},
        {"dop", DopText, 0.0, "0.00"},
        {"dop", DopText, 1.125, "1.13"},
        {"dop", DopText, NoValue, "--"},
        {"dop", DopText, kNan, "--"},
        {"alt", AltitudeText, -999.9, "-999.9"},
        {"alt", AltitudeText, -1000.0, "--"},
        {"alt", AltitudeText, 40000.0, "40000.0"},
        {"alt", AltitudeText, 40000.1, "--"},
        {"alt", AltitudeText, 12.25, "12.3"},
        {"alt", AltitudeText, -0.04, "0.0"},
        {"alt", AltitudeText, NoValue, "--"},
        {"alt", AltitudeText, kNan, "--"},
        {"vel", SpeedText, 1851.9, "1851.9"},
        {"vel", SpeedText, 1852.0, "--"},
        {"vel", SpeedText, 0.0, "0.0"},
        {"vel", SpeedText, -0.1, "--"},
        {"vel", SpeedText, 1234.56, "1234.6"},
        {"vel", SpeedText, NoValue, "--"},
        {"vel", SpeedText, NoPosition, "--"},
        {"vel", SpeedText, kNan, "--"},
        {"rot", RateOfTurnText, 12.5, "12.5"},
        {"rot", RateOfTurnText, 3.0, "3"},
        {"rot", RateOfTurnText, -0.25, "-0.25"},
        {"rot", RateOfTurnText, -9999.9, "-9999.9"},
        {"rot", RateOfTurnText, 9999.9, "9999.9"},
        {"rot", RateOfTurnText, -10000.0, "--"},
        {"rot", RateOfTurnText, 10000.0, "--"},
        {"rot", RateOfTurnText, 9999.95, "--"},
        {"rot", RateOfTurnText, NoValue, "--"},
        {"rot", RateOfTurnText, kNan, "--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.What << " " << c.Value);
        EXPECT_EQ(c.Text(c.Value).View(), c.Expected);
    }
}

TEST(DisplayTexts, CountsAndTimes)
{
    struct Case
    {
        int32_t Value;
        const char* Expected;
    };
    const Case satellites[] = {{0, "0"},    {7, "7"},   {99, "99"},
                               {100, "--"}, {-1, "--"}, {NoCode, "--"}};
    for (const Case& c : satellites) {
        SCOPED_TRACE(testing::Message() << "usat " << c.Value);
        EXPECT_EQ(UsatText(c.Value).View(), c.Expected);
    }

    // Hundredths of a second shown as seconds.
    const Case ttffs[] = {
        {3527, "35.27"}, {3500, "35"}, {0, "0"}, {1, "0.01"}, {123456, "1234.56"}};
    for (const Case& c : ttffs) {
        SCOPED_TRACE(testing::Message() << "ttff " << c.Value);
        EXPECT_EQ(TtffText(c.Value).View(), c.Expected);
    }

    EXPECT_EQ(DrCountText(0).View(), "0");
    EXPECT_EQ(DrCountText(5).View(), "5");
    EXPECT_EQ(DrCountText(4294967295U).View(), "4294967295");
}

TEST(DisplayTexts, VersionByProtocol)
{
    struct Case
    {
        double Version;
        TProtocol Protocol;
        const char* Expected;
    };
    const Case cases[] = {
        {1234.0, TProtocol::Nmea, "0000001234"},
        {1234.0, TProtocol::Binary, "001234"},
        {10203.0, TProtocol::Binary, "010203"},
        {0.0, TProtocol::Nmea, "0000000000"},
        {9999999999.0, TProtocol::Nmea, "9999999999"},
        {NoVersion, TProtocol::Nmea, "--"}, // an empty version field
        {-1.0, TProtocol::Nmea, "--"},
        {kNan, TProtocol::Nmea, "--"},
        {1234.5, TProtocol::Nmea, "0000001234"}, // printf rounds the tie to even
        {1235.5, TProtocol::Nmea, "0000001236"},
        {NoVersion, TProtocol::Binary, "10000000000"}, // no range test, no cut
        {-5.0, TProtocol::Binary, "-00005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Version << " protocol " << ProtocolName(c.Protocol));
        EXPECT_EQ(VersionText(c.Version, c.Protocol).View(), c.Expected);
    }
}

TEST(DisplayTexts, DateTimePiecesAreJudgedOneByOne)
{
    struct Case
    {
        int32_t Year;
        int32_t Month;
        int32_t Day;
        int32_t Hour;
        int32_t Minute;
        double Second;
        const char* Expected;
    };
    const Case cases[] = {
        {2009, 7, 14, 3, 5, 9.5, "07/14/2009  03:05:09.50"},
        {NoYear, NoCode, NoCode, NoCode, NoCode, NoSecond, "--/--/--  --:--:--"},
        {2009, 12, 31, 24, 59, 60.0, "12/31/2009  24:59:60.00"}, // hour 24 and second 60 shown
        {2009, 1, 1, 0, 60, 0.0, "01/01/2009  00:--:00.00"},     // minute 60 is not
        {0, 0, 0, 25, -1, 60.001, "--/--/0000  --:--:--"},
        {9999, 13, 32, -1, 0, -0.01, "--/--/9999  --:00:--"},
        {10000, 1, 1, 12, 30, kNan, "01/01/--  12:30:--"},
        {-1, 6, 15, 12, 30, 59.999, "06/15/--  12:30:60.00"}, // printf's rounding
        {1980, 1, 6, 0, 0, 0.004, "01/06/1980  00:00:00.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Expected);
        EXPECT_EQ(DateTimeText(c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second).View(),
                  c.Expected);
    }
}

TEST(DisplayTexts, CoordinatesInDegreesMinutesAndSeconds)
{
    struct Case
    {
        double Value;
        const char* Latitude;
        const char* Longitude;
    };
    const Case cases[] = {
        {3540.2058, "\nN 035 40' 12.348\"\n0m", "E 035 40' 12.348\""},
        {-3540.2058, "\nS 035 40' 12.348\"\n0m", "W 035 40' 12.348\""},
        {-13945.1234, "--", "W 139 45' 07.404\""},
        {13945.1234, "--", "E 139 45' 07.404\""},
        {0.0, "\n000 00' 00.000\"\n0m", "000 00' 00.000\""},
        {-0.0, "\n000 00' 00.000\"\n0m", "000 00' 00.000\""},
        {5.5, "\nN 000 05' 30.000\"\n0m", "E 000 05' 30.000\""},
        {3559.99999, "\nN 035 59' 59.999\"\n0m", "E 035 59' 59.999\""},
        {3560.0, "--", "--"}, // sixty minutes is not well-formed
        {-13960.5, "--", "--"},
        {9000.0, "\nN 090 00' 00.000\"\n0m", "E 090 00' 00.000\""},
        {-9000.0, "\nS 090 00' 00.000\"\n0m", "W 090 00' 00.000\""},
        {9000.0001, "--", "E 090 00' 00.006\""},
        {-9000.0001, "--", "W 090 00' 00.006\""},
        {18000.0, "--", "E 180 00' 00.000\""},
        {-18000.0, "--", "W 180 00' 00.000\""},
        {18000.5, "--", "--"},
        {-18000.5, "--", "--"},
        {NoPosition, "--", "--"},
        {kNan, "--", "--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Value);
        EXPECT_EQ(LatitudeText(c.Value).View(), c.Latitude);
        EXPECT_EQ(LongitudeText(c.Value).View(), c.Longitude);
    }
}

TEST(DisplayTexts, CourseDirectionReferenceAndArrow)
{
    struct Case
    {
        double Course;
        int32_t Reference;
        const char* Direction;
        const char* Mark;
        const char* TrackLabel;
        std::optional<int> Angle;
    };
    const Case cases[] = {
        {359.9, 0, "359.9", "[T]", "True Track", -179},
        {359.95, 0, "--", "", "", std::nullopt}, // would read 360.0, but is out of range
        {45.99, 1, "46.0", "[M]", "Magnetic Track", 135},
        {0.0, 0, "0.0", "[T]", "True Track", 180},
        {90.0, 2, "90.0", "[--]", "", 90},
        {180.0, NoCode, "180.0", "[--]", "", 0},
        {270.5, 1, "270.5", "[M]", "Magnetic Track", -90},
        {-0.1, 0, "--", "", "", std::nullopt},
        {NoValue, 0, "--", "", "", std::nullopt},
        {kNan, 1, "--", "", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Course << " reference " << c.Reference);
        EXPECT_EQ(CourseText(c.Course).View(), c.Direction);
        EXPECT_EQ(MTText(c.Course, c.Reference), c.Mark);
        EXPECT_EQ(MTLabelText(c.Course, c.Reference), c.TrackLabel);
        EXPECT_EQ(ArrowAngle(c.Course), c.Angle);
    }
}

// A record with plausible values in every group and no flag raised.
class ComputeDisplayTextsTest : public testing::Test
{
protected:
    ComputeDisplayTextsTest()
    {
        ResetReceiverState(State);
        State.Ttff = 4210;
        State.FixQuality = 1;
        State.Latitude = 3540.2058;
        State.Longitude = -13945.1234;
        State.Year = 2009;
        State.Month = 7;
        State.Day = 14;
        State.Hour = 3;
        State.Minute = 5;
        State.Second = 9.5;
        State.SatellitesUsed = 8;
        State.Altitude = 41.26;
        State.FixMode = 3;
        State.Pdop = 1.2;
        State.Hdop = 0.9;
        State.Vdop = NoValue;
        State.Speed = 36.0;
        State.Course = 45.99;
        State.CourseReference = 0;
        State.RotStatus = 1;
        State.RateOfTurn = 12.5;
        State.ProgramVersion = 1234.0;
    }

    void Compute(TProtocol protocol = TProtocol::Nmea)
    {
        ComputeDisplayTexts(State, protocol, DrOnlyCount, Texts);
    }

    std::vector<std::string_view> Keys() const
    {
        std::vector<std::string_view> keys;
        for (const TDisplayText& entry : Texts) {
            keys.push_back(entry.Key);
        }
        return keys;
    }

    std::string_view Text(std::string_view key) const
    {
        const std::optional<std::string_view> text = Texts.Find(key);
        EXPECT_TRUE(text.has_value()) << key;
        return text.value_or("<absent>");
    }

    TReceiverState State{};
    uint32_t DrOnlyCount = 0;
    TDisplayTexts Texts;
};

TEST_F(ComputeDisplayTextsTest, AFullSnapshotGivesEveryTextInCycleOrder)
{
    ClearStateFlags(State);
    for (int flag = 0; flag < kStateFlagCount; ++flag) {
        StateFlag(State, static_cast<TStateFlag>(flag)) = true;
    }
    Compute();
    const std::vector<std::string_view> expectedKeys = {
        "ttff", "fix",  "rotcnt", "lat", "lon", "utc", "usat",  "alt", "dim",
        "pdop", "hdop", "vdop",   "vel", "dir", "MT",  "rotst", "rot", "fver"};
    EXPECT_EQ(Keys(), expectedKeys);

    EXPECT_EQ(Text("ttff"), "42.1");
    EXPECT_EQ(Text("fix"), "GPS");
    EXPECT_EQ(Text("rotcnt"), "0");
    EXPECT_EQ(Text("lat"), "\nN 035 40' 12.348\"\n0m");
    EXPECT_EQ(Text("lon"), "W 139 45' 07.404\"");
    EXPECT_EQ(Text("utc"), "07/14/2009  03:05:09.50");
    EXPECT_EQ(Text("usat"), "8");
    EXPECT_EQ(Text("alt"), "41.3");
    EXPECT_EQ(Text("dim"), "3D fix");
    EXPECT_EQ(Text("pdop"), "1.20");
    EXPECT_EQ(Text("hdop"), "0.90");
    EXPECT_EQ(Text("vdop"), "--");
    EXPECT_EQ(Text("vel"), "36.0");
    EXPECT_EQ(Text("dir"), "46.0");
    EXPECT_EQ(Text("MT"), "[T]");
    EXPECT_EQ(Text("rotst"), "Active");
    EXPECT_EQ(Text("rot"), "12.5");
    EXPECT_EQ(Text("fver"), "0000001234");

    // The protocol selection decides the version's form; the flags were left raised.
    Compute(TProtocol::Binary);
    EXPECT_EQ(Text("fver"), "001234");
}

TEST_F(ComputeDisplayTextsTest, OnlyRaisedGroupsAreWritten)
{
    Compute();
    EXPECT_EQ(Texts.Size(), 0U);

    // Groups without texts of their own.
    State.CycleUpdated = true;
    State.SatellitesUpdated = true;
    State.WavSatellitesUpdated = true;
    State.UsedPrnUpdated = true;
    State.AccuracyUpdated = true;
    Compute();
    EXPECT_EQ(Texts.Size(), 0U);

    ClearStateFlags(State);
    State.DopUpdated = true;
    DrOnlyCount = 3;
    Compute();
    EXPECT_EQ(Keys(), (std::vector<std::string_view>{"pdop", "hdop", "vdop"}));
    EXPECT_EQ(Text("pdop"), "1.20");
    EXPECT_EQ(Text("vdop"), "--");
    EXPECT_EQ(DrOnlyCount, 3U);

    // The list is replaced, not extended, by the next cycle.
    ClearStateFlags(State);
    State.VersionUpdated = true;
    Compute();
    EXPECT_EQ(Keys(), (std::vector<std::string_view>{"fver"}));
}

TEST_F(ComputeDisplayTextsTest, DrOnlyPositionsAreCountedUntilAnotherFix)
{
    struct Step
    {
        int32_t FixQuality;
        const char* Fix;
        const char* Count;
    };
    const Step steps[] = {
        {6, "DR only", "1"}, {6, "DR only", "2"}, {6, "DR only", "3"}, {6, "DR only", "4"},
        {6, "DR only", "5"}, {1, "GPS", "0"},     {6, "DR only", "1"}, {3, "--", "0"},
        {6, "DR only", "1"}, {0, "No fix", "0"},  {0, "No fix", "0"},
    };
    State.PositionUpdated = true;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << "quality " << step.FixQuality << " count " << step.Count);
        State.FixQuality = step.FixQuality;
        Compute();
        EXPECT_EQ(Text("fix"), step.Fix);
        EXPECT_EQ(Text("rotcnt"), step.Count);
    }

    // Other groups leave the count alone.
    State.FixQuality = 6;
    Compute();
    ClearStateFlags(State);
    State.VelocityUpdated = true;
    State.RotUpdated = true;
    Compute();
    EXPECT_EQ(DrOnlyCount, 1U);
    EXPECT_FALSE(Texts.Find("rotcnt").has_value());
}

TEST_F(ComputeDisplayTextsTest, PositionComesBeforeVelocityAndEachCoordinateStandsAlone)
{
    State.VelocityUpdated = true;
    State.PositionUpdated = true;
    State.Latitude = 3560.0;
    State.Course = 359.95;
    Compute();
    EXPECT_EQ(Keys(),
              (std::vector<std::string_view>{"fix", "rotcnt", "lat", "lon", "vel", "dir", "MT"}));
    EXPECT_EQ(Text("lat"), "--");
    EXPECT_EQ(Text("lon"), "W 139 45' 07.404\"");
    EXPECT_EQ(Text("dir"), "--");
    EXPECT_EQ(Text("MT"), "");
}

TEST_F(ComputeDisplayTextsTest, RateOfTurnOutOfRangeKeepsTheStatus)
{
    State.RotUpdated = true;
    State.RateOfTurn = 10000.0;
    for (const int32_t status : {1, 0}) {
        State.RotStatus = status;
        Compute();
        EXPECT_EQ(Keys(), (std::vector<std::string_view>{"rotst", "rot"}));
        EXPECT_EQ(Text("rotst"), status == 1 ? "Active" : "Inactive");
        EXPECT_EQ(Text("rot"), "--");
    }
}

} // namespace
} // namespace zz
