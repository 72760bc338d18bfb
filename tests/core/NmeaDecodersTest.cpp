#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/core/NmeaEngineFixture.h"

namespace zz::test {
namespace {

using NmeaDecoders = NmeaEngineFixture;

constexpr const char* kGga =
    "$GPGGA,123519.00,3540.1234,N,13945.5000,E,1,08,0.9,545.4,M,46.9,M,,*62";

TEST_F(NmeaDecoders, PositionWithHemispheresAndFixQuality)
{
    struct Case
    {
        TPositionRef LFref;
        const char* Sentence;
        int32_t FixQuality;
        double Latitude;
        double Longitude;
    };
    const Case cases[] = {
        {TPositionRef::GGA, kGga, 1, 3540.1234, 13945.5},
        {TPositionRef::GGA, "$GPGGA,1,3540.1234,S,13945.5000,W,2,08,0.9,545.4,M,,,,*00", 2,
         -3540.1234, -13945.5},
        {TPositionRef::GGA, "$GPGGA,1,,N,13945.5000,E,6,08,0.9,545.4,M,,,,*00", 6, NoPosition,
         13945.5},
        {TPositionRef::GGA, "$GPGGA,1,3540.12345,N,13945.50009,E,0,08,,,,,,,*00", 0, 3540.1234,
         13945.5},
        {TPositionRef::GGA, "$GPGGA,1,3540.1234,X,13945.5000,,3,08,,,,,,,*00", NoCode, NoPosition,
         NoPosition},
        {TPositionRef::GGA, "$GPGGA,1,3540.1234,N,13945.5000,E,,,,,,,,,*00", NoCode, 3540.1234,
         13945.5},
        {TPositionRef::GGA, "$GPGGA", NoCode, NoPosition, NoPosition},
        {TPositionRef::GLL, "$GPGLL,3540.1234,N,13945.5000,E,123519.00,A,A*6D", 1, 3540.1234,
         13945.5},
        {TPositionRef::GLL, "$GPGLL,3540.1234,S,13945.5000,W,123519.00,V,N", 0, -3540.1234,
         -13945.5},
        {TPositionRef::GLL, "$GPGLL,3540.1234,N,13945.5000,E,123519.00,A,D", 2, 3540.1234, 13945.5},
        {TPositionRef::GLL, "$GPGLL,3540.1234,N,13945.5000,E,123519.00,A,E*00", 6, 3540.1234,
         13945.5},
        {TPositionRef::GLL, "$GPGLL,3540.1234,N,13945.5000,E,123519.00,A", NoCode, 3540.1234,
         13945.5},
        {TPositionRef::RMC, "$GPRMC,123519.00,A,3540.1234,N,13945.5000,E,5.5,54.7,101226,,,A*6A", 1,
         3540.1234, 13945.5},
        {TPositionRef::RMC, "$GPRMC,1,V,3540.1234,S,13945.5000,E,,,,,,N", 0, -3540.1234, 13945.5},
        {TPositionRef::RMC, "$GPRMC,1,D,,N,13945.5000,W,,,,,,N", 2, NoPosition, -13945.5},
        {TPositionRef::RMC, "$GPRMC,1,E,3540.1234,N,13945.5000,E,,,,,,N", 6, 3540.1234, 13945.5},
        {TPositionRef::RMC, "$GPRMC,1,,3540.1234,N,13945.5000,E,,,,,,N", NoCode, 3540.1234,
         13945.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Kept.LFref = c.LFref;
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->PositionUpdated);
        EXPECT_TRUE(Snapshot->PositionPending);
        EXPECT_EQ(Snapshot->FixQuality, c.FixQuality);
        EXPECT_DOUBLE_EQ(Snapshot->Latitude, c.Latitude);
        EXPECT_DOUBLE_EQ(Snapshot->Longitude, c.Longitude);
    }
}

TEST_F(NmeaDecoders, GgaAltitudeAndSatellitesUsed)
{
    struct Case
    {
        const char* Sentence;
        int32_t SatellitesUsed;
        double Altitude;
    };
    const Case cases[] = {
        {kGga, 8, 545.4},
        {"$GPGGA,1,3540.1234,N,13945.5000,E,1,,0.9,,M,,,,*00", NoCode, NoValue},
        {"$GPGGA,1,3540.1234,N,13945.5000,E,1,12,0.9,12345.6789,M,,,,*00", 12, 12345.67},
        {"$GPGGA,1,3540.1234,N,13945.5000,E,1,7,0.9,-12.5,M,,,,*00", 7, -12.5},
        {"$GPGGA,1,,,,,0,00,99.99,,,,,,*00", 0, NoValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->AltitudeUpdated);
        EXPECT_EQ(Snapshot->SatellitesUsed, c.SatellitesUsed);
        EXPECT_DOUBLE_EQ(Snapshot->Altitude, c.Altitude);
    }
}

TEST_F(NmeaDecoders, GgaGivesAltitudeWhenAnotherSentenceGivesThePosition)
{
    Kept.LFref = TPositionRef::RMC;
    Dispatch(kGga);
    ASSERT_TRUE(Take());
    EXPECT_FALSE(Snapshot->PositionUpdated);
    EXPECT_TRUE(Snapshot->AltitudeUpdated);
    EXPECT_EQ(Snapshot->SatellitesUsed, 8);
    EXPECT_DOUBLE_EQ(Snapshot->Altitude, 545.4);
}

// A decoder whose reference is chosen elsewhere changes nothing, but as the cycle header it
// still opens the cycle (which, during a replay, pauses).
TEST_F(NmeaDecoders, ReferenceChosenElsewhereLeavesTheRecordAlone)
{
    struct Case
    {
        const char* Sentence;
        THeader Header;
        void (*ChooseElsewhere)(TKeptValues&);
    };
    const Case cases[] = {
        {kGga, THeader::GGA,
         [](TKeptValues& k) {
             k.LFref = TPositionRef::GLL;
             k.ASref = Unoffered<TAltitudeRef>();
         }},
        {"$GPZDA,123456.78,10,12,2026,00,00*6A", THeader::ZDA,
         [](TKeptValues& k) { k.UTref = Unoffered<TTimeRef>(); }},
        {"$GPGLL,3540.1234,N,13945.5000,E,123519.00,A,A*6D", THeader::GLL,
         [](TKeptValues& k) { k.LFref = TPositionRef::RMC; }},
        {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39", THeader::GSA,
         [](TKeptValues& k) { k.DDref = Unoffered<TFixModeRef>(); }},
        {"$GPGSV,1,1,01,01,40,083,46*00", THeader::GSV,
         [](TKeptValues& k) { k.SAref = Unoffered<TSatellitesRef>(); }},
        {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A*25", THeader::VTG,
         [](TKeptValues& k) { k.VDref = TVelocityRef::RMC; }},
        {"$GPRMC,123519.00,A,3540.1234,N,13945.5000,E,5.5,54.7,101226,,,A*6A", THeader::RMC,
         [](TKeptValues& k) {
             k.LFref = TPositionRef::GGA;
             k.VDref = TVelocityRef::VTG;
         }},
        {"$GPROT,-12.5,A*2A", THeader::ROT,
         [](TKeptValues& k) { k.ROref = Unoffered<TRateOfTurnRef>(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        TKeptValues kept;
        c.ChooseElsewhere(kept);
        kept.HeaderIndex = c.Header;
        RecordingHooks hooks;
        auto engine = std::make_unique<TNmeaEngine>(Flags, kept, hooks);
        Flags.Replaying = 1;
        engine->DispatchSentence(c.Sentence);
        EXPECT_FALSE(engine->TakeSnapshot(*Snapshot));
        EXPECT_EQ(hooks.DisplayPendingCount, 0);
        EXPECT_EQ(hooks.Sleeps, std::vector<int>{930});
    }
}

TEST_F(NmeaDecoders, ZdaDateAndTime)
{
    struct Case
    {
        const char* Sentence;
        int32_t Year, Month, Day, Hour, Minute;
        double Second;
    };
    const Case cases[] = {
        {"$GPZDA,123456.78,10,12,2026,00,00*6A", 2026, 12, 10, 12, 34, 56.78},
        {"$GPZDA,000000,01,01,1999,,", 1999, 1, 1, 0, 0, 0.0},
        {"$GPZDA,235959.5,31,7,2024", 2024, 7, 31, 23, 59, 59.5},
        {"$GPZDA,,,,,00,00*00", NoYear, NoCode, NoCode, NoCode, NoCode, NoSecond},
        {"$GPZDA", NoYear, NoCode, NoCode, NoCode, NoCode, NoSecond},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->DateTimeUpdated);
        EXPECT_EQ(Snapshot->Year, c.Year);
        EXPECT_EQ(Snapshot->Month, c.Month);
        EXPECT_EQ(Snapshot->Day, c.Day);
        EXPECT_EQ(Snapshot->Hour, c.Hour);
        EXPECT_EQ(Snapshot->Minute, c.Minute);
        EXPECT_NEAR(Snapshot->Second, c.Second, 1e-9);
    }
}

TEST_F(NmeaDecoders, GsaFixModeUsedSatellitesAndDop)
{
    struct Case
    {
        const char* Sentence;
        int32_t FixMode;
        std::vector<int32_t> UsedPrn;
        double Pdop, Hdop, Vdop;
    };
    const Case cases[] = {
        {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",
         3,
         {4, 5, 0, 9, 12, 0, 0, 24, 0, 0, 0, 0},
         2.5,
         1.3,
         2.1},
        {"$GPGSA,A,2,1,2,3,4,5,6,7,8,9,10,11,12,0.95,0.57,0.76,1*1D",
         2,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         0.95,
         0.57,
         0.76},
        {"$GPGSA,M,1,,,,,,,,,,,,,12.3456,,*00",
         1,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         12.34,
         NoValue,
         NoValue},
        {"$GPGSA,A,4,,,,,,,,,,,,,,,", NoCode, std::vector<int32_t>(12, 0), NoValue, NoValue,
         NoValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Flags.UsedPrnResetRequest = 1;
        Dispatch(c.Sentence);
        EXPECT_EQ(Flags.UsedPrnResetRequest.load(), 0);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->UsedPrnUpdated);
        EXPECT_TRUE(Snapshot->FixModeUpdated);
        EXPECT_TRUE(Snapshot->FixModePending);
        EXPECT_TRUE(Snapshot->DopUpdated);
        EXPECT_EQ(Snapshot->FixMode, c.FixMode);
        std::vector<int32_t> expectedPrn = c.UsedPrn;
        expectedPrn.resize(kSatSlots, 0);
        EXPECT_EQ(std::vector<int32_t>(std::begin(Snapshot->UsedPrn), std::end(Snapshot->UsedPrn)),
                  expectedPrn);
        EXPECT_DOUBLE_EQ(Snapshot->Pdop, c.Pdop);
        EXPECT_DOUBLE_EQ(Snapshot->Hdop, c.Hdop);
        EXPECT_DOUBLE_EQ(Snapshot->Vdop, c.Vdop);
    }
}

class NmeaGsv : public NmeaEngineFixture
{
public:
    // The satellite table holds the first entries of the test satellites from firstEntry on.
    void ExpectTestSatellites(int firstEntry, int firstSatellite, int count)
    {
        for (int i = 0; i < count; ++i) {
            SCOPED_TRACE("entry " + std::to_string(firstEntry + i));
            const int k = firstSatellite + i;
            EXPECT_EQ(Snapshot->SatPrn[firstEntry + i], TestSatPrn(k));
            EXPECT_EQ(Snapshot->SatElevation[firstEntry + i], TestSatElevation(k));
            EXPECT_EQ(Snapshot->SatAzimuth[firstEntry + i], TestSatAzimuth(k));
            EXPECT_EQ(Snapshot->SatCn0[firstEntry + i], TestSatCn0(k));
        }
    }

    void ExpectEmptyFrom(int firstEntry)
    {
        for (int i = firstEntry; i < kSatSlots; ++i) {
            SCOPED_TRACE("entry " + std::to_string(i));
            EXPECT_EQ(Snapshot->SatPrn[i], 0);
            EXPECT_EQ(Snapshot->SatElevation[i], 0);
            EXPECT_EQ(Snapshot->SatAzimuth[i], 0);
            EXPECT_EQ(Snapshot->SatCn0[i], 0);
        }
    }
};

TEST_F(NmeaGsv, ATableIsShownOnlyWhenItsSetIsComplete)
{
    struct Case
    {
        int Total;
        int Sentences;
    };
    const Case cases[] = {{12, 3}, {10, 3}, {20, 5}, {3, 1}, {16, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Total) + " satellites in " + std::to_string(c.Sentences));
        const auto set = GsvSet(c.Total, c.Sentences);
        for (size_t i = 0; i + 1 < set.size(); ++i) {
            Dispatch(set[i]);
            EXPECT_FALSE(Take()) << "after sentence " << i + 1;
        }
        Dispatch(set.back());
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->SatellitesUpdated);
        EXPECT_EQ(Snapshot->SatellitesInView, c.Total);
        const int stored = std::min(c.Total, kSatSlots);
        ExpectTestSatellites(0, 0, stored);
        ExpectEmptyFrom(stored);
    }
}

TEST_F(NmeaGsv, ASetWithoutItsFirstSentenceIsAppendedToTheOldTable)
{
    Dispatch(GsvSet(12, 3));
    ASSERT_TRUE(Take());

    // Sentence 2 of a set of 3 announcing 24 carries the satellites 4 to 7.
    Dispatch(GsvSet(24, 3, 2)[0]);
    EXPECT_FALSE(Take());
    Dispatch(kGga);
    ASSERT_TRUE(Take());
    EXPECT_FALSE(Snapshot->SatellitesUpdated);
    ExpectTestSatellites(0, 0, 12);
    ExpectTestSatellites(12, 4, 4);
}

TEST_F(NmeaGsv, SbasResetAbandonsTheSetInProgress)
{
    const auto set = GsvSet(12, 3);
    Dispatch(set[0]);
    Flags.SbasResetRequest = 1;
    Dispatch(set[1]);
    EXPECT_EQ(Flags.SbasResetRequest.load(), 0);
    Dispatch(set[2]);
    EXPECT_FALSE(Take());
    Dispatch(kGga);
    ASSERT_TRUE(Take());
    ExpectTestSatellites(0, 0, 4);
    ExpectEmptyFrom(4);

    Dispatch(set); // the next set is taken whole again
    ASSERT_TRUE(Take());
    EXPECT_TRUE(Snapshot->SatellitesUpdated);
    ExpectTestSatellites(0, 0, 12);
}

TEST_F(NmeaDecoders, VtgSpeedAndCourseByTheirLetters)
{
    // The speed before each case: 9 km/h.
    const char* const kBefore = "$GPVTG,1.0,T,,,9.0,K,,,A";
    struct Case
    {
        const char* Sentence;
        double Speed;
        double Course;
        int32_t CourseReference;
    };
    const Case cases[] = {
        {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A*25", 10.2, 54.7, 0},
        {"$GPVTG,054.7,T,034.4,M,005.5,N,,,A", 10.186, 54.7, 0},
        {"$GPVTG,,M,034.4,T,010.0,K,,,A", 10.0, 34.4, 0},
        {"$GPVTG,054.7,M,,,,,020.0,K,A", 20.0, 54.7, 1},
        {"$GPVTG,,,034.4,M,,,,,A", 9.0, 34.4, 1},
        {"$GPVTG,,,,,,,,,A", 9.0, NoValue, NoCode},
        {"$GPVTG,054.7,X,034.4,Y,5.5,N,,,A", 10.186, NoValue, NoCode},
        {"$GPVTG,,T,,M,,N,,K,A", NoValue, NoValue, 0},
        {"$GPVTG,,T,,M,,N,,,A", NoValue, NoValue, 0},
    };
    Kept.VDref = TVelocityRef::VTG;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(kBefore);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->VelocityUpdated);
        EXPECT_NEAR(Snapshot->Speed, c.Speed, 1e-9);
        EXPECT_DOUBLE_EQ(Snapshot->Course, c.Course);
        EXPECT_EQ(Snapshot->CourseReference, c.CourseReference);
    }
}

TEST_F(NmeaDecoders, RmcVelocityInKilometresPerHour)
{
    struct Case
    {
        const char* Sentence;
        double Speed;
        double Course;
    };
    const Case cases[] = {
        {"$GPRMC,123519.00,A,3540.1234,N,13945.5000,E,10.0,54.7,101226,,,A*00", 18.52, 54.7},
        {"$GPRMC,123519.00,V,,,,,,,101226,,,N*00", NoValue, NoValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->VelocityUpdated);
        EXPECT_FALSE(Snapshot->PositionUpdated);
        EXPECT_NEAR(Snapshot->Speed, c.Speed, 1e-9);
        EXPECT_DOUBLE_EQ(Snapshot->Course, c.Course);
        EXPECT_EQ(Snapshot->CourseReference, 0);
    }
}

TEST_F(NmeaDecoders, RotRateAndStatus)
{
    struct Case
    {
        const char* Sentence;
        double RateOfTurn;
        int32_t RotStatus;
    };
    const Case cases[] = {
        {"$GPROT,-12.5,A*2A", -12.5, 1},     {"$GPROT,3.0,V", 3.0, 0},
        {"$GPROT,3.0,X*00", 3.0, NoCode},    {"$GPROT,,A", NoValue, 1},
        {"$GPROT,-1234.5678,A", -1234.5, 1}, {"$GPROT", NoValue, NoCode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->RotUpdated);
        EXPECT_TRUE(Snapshot->RotPending);
        EXPECT_DOUBLE_EQ(Snapshot->RateOfTurn, c.RateOfTurn);
        EXPECT_EQ(Snapshot->RotStatus, c.RotStatus);
    }
}

} // namespace
} // namespace zz::test
