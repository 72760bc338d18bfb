#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/NmeaEngineFixture.h"

namespace zz::test {
namespace {

using ProprietaryDecoders = NmeaEngineFixture;
using Values = std::vector<int32_t>;

// The first entries given, the rest of the 32 without an accuracy.
Values Accuracies(Values first)
{
    first.resize(kAccuracySlots, NoCode);
    return first;
}

Values TwiceZeroToF()
{
    Values values;
    for (int32_t i = 0; i < kAccuracySlots; ++i) {
        values.push_back(i % 16);
    }
    return values;
}

TEST_F(ProprietaryDecoders, GPaccGivesOneAccuracyPerGpsPrn)
{
    Values lowerCaseA = TwiceZeroToF();
    lowerCaseA[10] = NoCode;
    struct Case
    {
        const char* What;
        const char* Sentence;
        Values Expected;
    };
    const Case cases[] = {
        {"0 to F twice", "$DIRU,GPacc,0123456789ABCDEF0123456789ABCDEF*7C", TwiceZeroToF()},
        {"a lower-case a", "$DIRU,GPacc,0123456789aBCDEF0123456789ABCDEF*5C", lowerCaseA},
        {"untracked PRNs",
         "$DIRU,GPacc,XXDX01XDXE0AX96X29X81XE1BDXCFCX6*1E",
         {128, 128, 13,  128, 0, 1,   128, 13, 128, 14, 0,   10, 128, 9,  6,   128,
          2,   9,   128, 8,   1, 128, 14,  1,  11,  13, 128, 12, 15,  12, 128, 6}},
        {"a short field before its checksum", "$DIRU,GPacc,0123*7C", Accuracies({0, 1, 2, 3})},
        {"a short field before a comma", "$DIRU,GPacc,0123,4567", Accuracies({0, 1, 2, 3})},
        {"a short field at the end", "$DIRU,GPacc,01", Accuracies({0, 1})},
        {"an empty field", "$DIRU,GPacc,,0123", Accuracies({})},
        {"no field", "$DIRU,GPacc", Accuracies({})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->AccuracyUpdated);
        EXPECT_EQ(Values(std::begin(Snapshot->SatAccuracy), std::end(Snapshot->SatAccuracy)),
                  c.Expected);
    }
}

TEST_F(ProprietaryDecoders, GPtstGivesTheProgramVersion)
{
    struct Case
    {
        const char* Sentence;
        double Version;
    };
    const Case cases[] = {
        {"$DIRU,GPtst,OK,1.05*5C", 1.05},
        {"$DIRU,GPtst,,20240311", 20240311.0},
        {"$DIRU,GPtst,OK,123456789012345", 12345678901.0},
        {"$DIRU,GPtst,OK,", NoVersion},
        {"$DIRU,GPtst,OK,,", NoVersion},
        {"$DIRU,GPtst,OK", NoVersion},
        {"$DIRU,GPtst,OK,*5C", 0.0}, // the checksum alone is a text, and no number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(c.Sentence);
        ASSERT_TRUE(Take());
        EXPECT_TRUE(Snapshot->VersionUpdated);
        EXPECT_DOUBLE_EQ(Snapshot->ProgramVersion, c.Version);
        EXPECT_FALSE(Snapshot->TtffRestarted); // nothing was armed
    }
    EXPECT_TRUE(Hooks.TtffTexts.empty());
}

TEST_F(ProprietaryDecoders, ReferencesChosenElsewhereChangeNothing)
{
    Kept.ACref = Unoffered<TAccuracyRef>();
    Kept.TSref = Unoffered<TVersionRef>();
    Engine->ArmTtff();
    Dispatch({"$DIRU,GPacc,0123456789ABCDEF0123456789ABCDEF*7C", "$DIRU,GPtst,OK,1.05*5C",
              "$DIRU,GPwav,1,129,45,120,40"});
    EXPECT_FALSE(Take());
    EXPECT_TRUE(Hooks.TtffTexts.empty());
    EXPECT_EQ(Hooks.DisplayPendingCount, 0);
}

class NmeaTtff : public NmeaEngineFixture
{
public:
    void Arm()
    {
        Engine->ArmTtff();
        Hooks.AdvanceSeconds(1.0);
    }
    void ReportRestart()
    {
        Dispatch("$DIRU,GPtst,OK,1.05*5C");
        Hooks.AdvanceSeconds(1.0);
    }
    bool FixTimed() { return Take() && Snapshot->TtffUpdated; }
};

TEST_F(NmeaTtff, EachPositionSentenceTimesTheFirstFixAfterTheRestartReport)
{
    struct Case
    {
        TPositionRef LFref;
        const char* NoFix;
        const char* Fix;
    };
    const Case cases[] = {
        {TPositionRef::GGA, "$GPGGA,1,,,,,0,00,,,,,,,*00",
         "$GPGGA,1,3540.1234,N,13945.5000,E,6,05,,,,,,,*00"},
        {TPositionRef::GLL, "$GPGLL,,,,,1,V,N*00", "$GPGLL,3540.1234,N,13945.5000,E,1,A,D*00"},
        {TPositionRef::RMC, "$GPRMC,1,V,,,,,,,,,,N*00",
         "$GPRMC,1,A,3540.1234,N,13945.5000,E,,,,,,A*00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Fix);
        Kept.LFref = c.LFref;
        Hooks.TtffTexts.clear();
        Arm();
        Dispatch(c.Fix); // a fix before the receiver reported its restart
        EXPECT_FALSE(FixTimed());

        ReportRestart();
        EXPECT_EQ(Hooks.TtffTexts, std::vector<TTtffText>{TTtffText::Counting});
        Dispatch(c.NoFix); // no fix: the measurement stays armed
        ASSERT_FALSE(FixTimed());
        EXPECT_TRUE(Snapshot->TtffArmed);
        EXPECT_TRUE(Snapshot->TtffRestarted);

        Hooks.AdvanceSeconds(10.0);
        Dispatch(c.Fix);
        ASSERT_TRUE(FixTimed());
        EXPECT_NEAR(Snapshot->Ttff, 1200, 1); // from the command: 1 + 1 + 10 seconds
        EXPECT_FALSE(Snapshot->TtffArmed);
        EXPECT_FALSE(Snapshot->TtffRestarted);

        Dispatch(c.Fix); // timed once only
        EXPECT_FALSE(FixTimed());
    }
}

class NmeaWav : public NmeaEngineFixture
{
public:
    NmeaWav() { Kept.SAref = TSatellitesRef::GSVWav; }

    void ExpectEntry(int entry, Values expected)
    {
        SCOPED_TRACE("entry " + std::to_string(entry));
        EXPECT_EQ((Values{Snapshot->SatPrn[entry], Snapshot->SatElevation[entry],
                          Snapshot->SatAzimuth[entry], Snapshot->SatCn0[entry]}),
                  expected);
    }

    void ExpectGsvEntries(int count)
    {
        for (int k = 0; k < count; ++k) {
            ExpectEntry(k, {TestSatPrn(k), TestSatElevation(k), TestSatAzimuth(k), TestSatCn0(k)});
        }
    }

    void ExpectEmptyFrom(int firstEntry)
    {
        for (int entry = firstEntry; entry < kSatSlots; ++entry) {
            ExpectEntry(entry, {0, 0, 0, 0});
        }
    }
};

TEST_F(NmeaWav, SbasSatellitesFollowTheGpsSet)
{
    Dispatch(GsvSet(9, 3));
    Dispatch("$DIRU,GPwav,3,129,45,120,40,137,30,200,38,200,10,90,35*71");
    ASSERT_TRUE(Take());
    EXPECT_TRUE(Snapshot->WavSatellitesUpdated);
    EXPECT_EQ(Snapshot->SatellitesInView, 16);
    ExpectGsvEntries(9);
    ExpectEntry(9, {42, 45, 120, 40});
    ExpectEntry(10, {50, 30, 200, 38});
    ExpectEntry(11, {0, 10, 90, 35});
    ExpectEmptyFrom(12);

    // The next wav sentence of the cycle replaces the entries of the first.
    Dispatch("$DIRU,GPwav,1,120,5,6,7");
    ASSERT_TRUE(Take());
    ExpectGsvEntries(9);
    ExpectEntry(9, {33, 5, 6, 7});
    ExpectEmptyFrom(10);
}

TEST_F(NmeaWav, OnlyTheEntriesLeftAfterTheGpsSetAreFilled)
{
    Dispatch(GsvSet(14, 4));
    Dispatch("$DIRU,GPwav,4,120,1,2,3,121,4,5,6,122,7,8,9,138,10,11,12");
    ASSERT_TRUE(Take());
    ExpectGsvEntries(14);
    ExpectEntry(14, {33, 1, 2, 3});
    ExpectEntry(15, {34, 4, 5, 6});

    Dispatch(GsvSet(20, 5)); // a full GPS table leaves no room at all
    Dispatch("$DIRU,GPwav,1,120,1,2,3");
    ASSERT_TRUE(Take());
    EXPECT_TRUE(Snapshot->WavSatellitesUpdated);
    ExpectGsvEntries(16);
}

TEST_F(NmeaWav, TheSentenceCountLimitsTheSatellitesRead)
{
    Dispatch(GsvSet(2, 1));
    Dispatch("$DIRU,GPwav,1,129,45,120,40,137,30,200,38");
    ASSERT_TRUE(Take());
    ExpectEntry(2, {42, 45, 120, 40});
    ExpectEmptyFrom(3);

    Dispatch("$DIRU,GPwav,,129,45,120,40");
    ASSERT_TRUE(Take());
    EXPECT_EQ(Snapshot->SatellitesInView, 16);
    ExpectGsvEntries(2);
    ExpectEmptyFrom(2);
}

TEST_F(NmeaWav, SbasResetPutsTheSbasEntriesFirst)
{
    Dispatch(GsvSet(9, 3));
    Flags.SbasResetRequest = 1;
    Dispatch("$DIRU,GPwav,1,129,45,120,40");
    EXPECT_EQ(Flags.SbasResetRequest.load(), 0);
    ASSERT_TRUE(Take());
    ExpectEntry(0, {42, 45, 120, 40});
    ExpectEmptyFrom(1);
}

} // namespace
} // namespace zz::test
