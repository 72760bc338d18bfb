#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/NmeaEngineFixture.h"

namespace zz::test {
namespace {

using NmeaDispatch = NmeaEngineFixture;
using Sleeps = std::vector<int>;

constexpr const char* kGga =
    "$GPGGA,123519.00,3540.1234,N,13945.5000,E,1,08,0.9,545.4,M,46.9,M,,*62";
constexpr const char* kRmc = "$GPRMC,123519.00,A,3540.1234,N,13945.5000,E,5.5,54.7,101226,,,A*6A";
constexpr const char* kGsa = "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39";
constexpr const char* kRot = "$GPROT,-12.5,A*2A";
constexpr const char* kAcc = "$DIRU,GPacc,0123456789ABCDEF0123456789ABCDEF*7C";
constexpr const char* kWav = "$DIRU,GPwav,1,129,45,120,40*00";

TEST_F(NmeaDispatch, OnlyTheStartOfTheAddressCounts)
{
    struct Case
    {
        const char* Sentence;
        bool Decoded;
    };
    const Case cases[] = {
        {"$GPROT,-12.5,A*2A", true},
        {"$GPROT,-12.5,A*FF", true}, // a wrong checksum is not checked
        {"$GPROT,-12.5,A", true},
        {"$GPROTX,-12.5,A", true},
        {"$GPROT", true},
        {"$GPRO", false},
        {"$GNROT,-12.5,A", false},
        {"$GProt,-12.5,A", false},
        {"GPROT,-12.5,A", false},
        {"$DIRU,GPacc,0123", true},
        {"$DIRU,GPaccX0123", true},
        {"$DIRU,GPac", false},
        {"$DIRU,GPACC,0123", false},
        {"$DIRU,GNacc,0123", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sentence);
        Dispatch(c.Sentence);
        EXPECT_EQ(Take(), c.Decoded);
    }
}

class NmeaReplayPacing : public NmeaEngineFixture
{
public:
    NmeaReplayPacing() { Flags.Replaying = 1; }
};

TEST_F(NmeaReplayPacing, EachCycleHeaderPausesForTheChosenSpeed)
{
    const int pauses[] = {930, 185, 30};
    for (int speed = 0; speed < 3; ++speed) {
        SCOPED_TRACE(speed);
        Flags.ReplaySpeed = speed;
        Hooks.Sleeps.clear();
        for (int cycle = 0; cycle < 3; ++cycle) {
            Dispatch({kGga, kGsa, kRmc, kRot, kAcc});
        }
        EXPECT_EQ(Hooks.Sleeps, Sleeps(3, pauses[speed]));
    }
}

TEST_F(NmeaReplayPacing, WithoutTheHeaderARepeatedSentencePauses)
{
    Dispatch({kRmc, kGsa, kRmc, kGsa, kRmc});
    EXPECT_EQ(Hooks.Sleeps, (Sleeps{930, 930}));
}

TEST_F(NmeaReplayPacing, TheHeaderNeverMarksItself)
{
    Kept.HeaderIndex = THeader::RMC;
    Dispatch({kRmc, kRmc, kRmc});
    EXPECT_EQ(Hooks.Sleeps, Sleeps(3, 930));
}

TEST_F(NmeaReplayPacing, AGsvSetPacesOnlyAtItsFirstSentence)
{
    const auto set = GsvSet(12, 3);
    Dispatch(set);
    EXPECT_TRUE(Hooks.Sleeps.empty());
    Dispatch({set[1], set[1]});
    EXPECT_TRUE(Hooks.Sleeps.empty());
    Dispatch(set);
    EXPECT_EQ(Hooks.Sleeps, Sleeps{930});

    Hooks.Sleeps.clear();
    Engine->ClearCycleSeen();
    Kept.HeaderIndex = THeader::GSV;
    Dispatch(set);
    Dispatch(set);
    EXPECT_EQ(Hooks.Sleeps, (Sleeps{930, 930}));
}

TEST_F(NmeaReplayPacing, ProprietarySentencesAlwaysMarkTheCycle)
{
    // With the satellites taken from GSV alone, the wav sentence changes nothing but still paces.
    Dispatch({kWav, kWav});
    EXPECT_FALSE(Take());
    Dispatch({kAcc, kAcc});
    EXPECT_EQ(Hooks.Sleeps, (Sleeps{930, 930}));
}

TEST_F(NmeaReplayPacing, NothingPausesOutsideAReplay)
{
    Flags.Replaying = 0;
    Dispatch({kGga, kRmc, kRmc, kAcc, kAcc, kGga});
    EXPECT_TRUE(Hooks.Sleeps.empty());
}

TEST_F(NmeaDispatch, TheHeaderSummarisesTheCycleThatEnded)
{
    Dispatch(kGga);
    ASSERT_TRUE(Take());
    EXPECT_FALSE(Snapshot->CycleUpdated); // no position before the first header

    Dispatch({kRot, kGsa, "$GPGGA,1,3540.2000,N,13945.6000,E,2,08,0.9,545.4,M,,,,*00"});
    ASSERT_TRUE(Take());
    EXPECT_TRUE(Snapshot->CycleUpdated);
    EXPECT_EQ(Snapshot->CycleFixQuality, 1);
    EXPECT_DOUBLE_EQ(Snapshot->CycleLatitude, 3540.1234);
    EXPECT_DOUBLE_EQ(Snapshot->CycleLongitude, 13945.5);
    EXPECT_EQ(Snapshot->CycleRotStatus, 1.0);
    EXPECT_EQ(Snapshot->CycleFixMode, 3);
    EXPECT_EQ(Snapshot->AltitudeSampleCount, 2);

    Dispatch(kGga); // no ROT and no GSA in this cycle
    ASSERT_TRUE(Take());
    EXPECT_TRUE(Snapshot->CycleUpdated);
    EXPECT_EQ(Snapshot->CycleFixQuality, 2);
    EXPECT_DOUBLE_EQ(Snapshot->CycleLatitude, 3540.2);
    EXPECT_EQ(Snapshot->CycleRotStatus, NoCycleRotStatus);
    EXPECT_EQ(Snapshot->CycleFixMode, NoCode);
}

} // namespace
} // namespace zz::test
