#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/SkyGeometry.h"
#include "sim/TSimReceiver.h"
#include "sim/TSimRoute.h"
#include "tests/sim/SimStreams.h"

namespace zz::test {
namespace {

struct Scenario
{
    const char* What;
    double Latitude;
    double Longitude;
    double SpeedKmh;
    double RateHz;
    int BaudRate;
};

const Scenario kSetups[] = {
    {"north east, slow line", 47.3769, 8.5417, 30.0, 1.0, 4800},
    {"south west", -34.6037, -58.3816, 60.0, 2.0, 9600},
    {"north west, fast", 61.2181, -149.9003, 90.0, 10.0, 38400},
    {"south east", -41.2865, 174.7762, 0.0, 1.0, 9600},
};

TSimSettings SettingsOf(const Scenario& scenario)
{
    TSimSettings settings;
    settings.Protocol = TSimProtocol::Binary;
    settings.StartLatitudeDeg = scenario.Latitude;
    settings.StartLongitudeDeg = scenario.Longitude;
    settings.SpeedKmh = scenario.SpeedKmh;
    settings.RateHz = scenario.RateHz;
    settings.BaudRate = scenario.BaudRate;
    return settings;
}

uint8_t Byte(const std::string& frame, size_t i)
{
    return static_cast<uint8_t>(frame[i]);
}

TEST(SimBinaryOutput, FramesAreWellFormed)
{
    const std::map<uint8_t, size_t> lengths = {
        {0xE0, 23}, {0xE1, 10}, {0xE2, 76}, {0xE3, 15}, {0xD3, 12}};
    const std::set<uint8_t> undecoded = {0xD0, 0xD4, 0xD5, 0xD9};
    for (const Scenario& scenario : kSetups) {
        SCOPED_TRACE(scenario.What);
        TSimReceiver receiver(SettingsOf(scenario));
        const std::string stream = RunFor(receiver, 100.0 / scenario.RateHz);
        const std::vector<std::string> frames = SplitFrames(stream);
        ASSERT_GT(frames.size(), 400U);

        std::set<uint8_t> undecodedSeen;
        std::vector<uint8_t> order;
        for (size_t f = 0; f + 1 < frames.size(); ++f) {
            const std::string& frame = frames[f];
            SCOPED_TRACE(testing::Message() << "frame " << f);
            ASSERT_GE(frame.size(), 3U);
            const uint8_t identifier = Byte(frame, 0);
            const auto known = lengths.find(identifier);
            if (known != lengths.end()) {
                EXPECT_EQ(frame.size(), known->second);
                order.push_back(identifier);
            } else {
                EXPECT_TRUE(undecoded.contains(identifier)) << int{identifier};
                EXPECT_LE(frame.size(), 76U);
                undecodedSeen.insert(identifier);
            }
            uint8_t check = identifier;
            for (size_t i = 1; i + 2 < frame.size(); ++i) {
                EXPECT_LT(Byte(frame, i), 0x80);
                check ^= Byte(frame, i);
            }
            EXPECT_EQ(Byte(frame, frame.size() - 2), check);
            EXPECT_EQ(Byte(frame, frame.size() - 1), (identifier & 0xF0) | 0x0A);
        }

        // The version report first, then position, date-time, satellites, DOP every cycle.
        ASSERT_GE(order.size(), 9U);
        EXPECT_EQ(order[0], 0xD3);
        for (size_t i = 1; i + 4 <= order.size(); i += 4) {
            SCOPED_TRACE(i);
            EXPECT_EQ(order[i], 0xE0);
            EXPECT_EQ(order[i + 1], 0xE1);
            EXPECT_EQ(order[i + 2], 0xE2);
            EXPECT_EQ(order[i + 3], 0xE3);
        }
        EXPECT_FALSE(undecodedSeen.empty());
    }
}

TEST(SimBinaryOutput, DecodedFramesDescribeAPlausibleFix)
{
    for (const Scenario& scenario : kSetups) {
        SCOPED_TRACE(scenario.What);
        TSimReceiver receiver(SettingsOf(scenario));
        const TSimRoute route(scenario.Latitude, scenario.Longitude, scenario.SpeedKmh);
        SimDecoder decoder(TSimProtocol::Binary);

        int cycles = 0;
        bool versionSeen = false;
        for (const std::string& frame : SplitFrames(RunFor(receiver, 40.0 / scenario.RateHz))) {
            decoder.Feed(frame);
            const uint8_t identifier = Byte(frame, 0);
            if (identifier == 0xD3) {
                ASSERT_TRUE(decoder.Take());
                EXPECT_EQ(decoder.State->ProgramVersion, 10203.0);
                versionSeen = true;
            }
            // The DOP frame closes a cycle.
            if (identifier != 0xE3) {
                continue;
            }
            ASSERT_TRUE(decoder.Take());
            const TReceiverState& state = *decoder.State;
            const double seconds = cycles / scenario.RateHz;
            SCOPED_TRACE(seconds);
            ++cycles;

            ASSERT_EQ(state.FixQuality, 1);
            EXPECT_EQ(state.FixMode, 3);
            const TSimRoutePoint truth = route.At(seconds);
            EXPECT_NEAR(DegreesFromReceiver(state.Latitude), truth.LatitudeDeg, 12.0 / 111'000.0);
            EXPECT_NEAR(
                std::remainder(DegreesFromReceiver(state.Longitude) - truth.LongitudeDeg, 360.0),
                0.0, 12.0 / 111'000.0 / std::cos(truth.LatitudeDeg / kDegrees));
            EXPECT_NEAR(state.Altitude, 410.0, 15.0);
            EXPECT_NEAR(state.Speed, scenario.SpeedKmh, 1.0);
            EXPECT_GE(state.Course, 0.0);
            EXPECT_LT(state.Course, 360.0);

            std::vector<TLookAngles> used;
            int listed = 0;
            for (int i = 0; i < 12; ++i) {
                if (state.SatPrn[i] == 0) {
                    continue;
                }
                ++listed;
                EXPECT_LE(state.SatPrn[i], 32);
                EXPECT_GE(state.SatElevation[i], 5);
                EXPECT_LE(state.SatElevation[i], 90);
                EXPECT_LE(state.SatAzimuth[i], 359);
                EXPECT_GE(state.SatAccuracy[state.SatPrn[i] - 1], 0);
                EXPECT_LE(state.SatAccuracy[state.SatPrn[i] - 1], 15);
                if (state.UsedPrn[i] != 0) {
                    EXPECT_EQ(state.UsedPrn[i], state.SatPrn[i]);
                    used.push_back({static_cast<double>(state.SatElevation[i]),
                                    static_cast<double>(state.SatAzimuth[i])});
                }
            }
            EXPECT_GE(listed, 4);
            EXPECT_EQ(static_cast<int>(used.size()), state.SatellitesUsed);
            const auto dops = ComputeDops(used);
            ASSERT_TRUE(dops.has_value());
            EXPECT_LE(state.Hdop, state.Pdop);
            EXPECT_NEAR(state.Hdop, dops->Hdop, 0.05 * dops->Hdop + 0.06);
            EXPECT_NEAR(state.Vdop, dops->Vdop, 0.05 * dops->Vdop + 0.06);
        }
        EXPECT_TRUE(versionSeen);
        EXPECT_EQ(cycles, 40);
    }
}

} // namespace
} // namespace zz::test
