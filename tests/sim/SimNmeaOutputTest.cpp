#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "sim/SkyGeometry.h"
#include "sim/TSimReceiver.h"
#include "sim/TSimRoute.h"
#include "tests/sim/SimStreams.h"

namespace zz::test {
namespace {

constexpr double kEarthRadius = 6'371'000.0;

struct Scenario
{
    const char* What;
    double Latitude;
    double Longitude;
    double SpeedKmh;
    double RateHz;
    uint64_t Seed;
};

// Both hemispheres on both axes, a place on the antimeridian, a standing receiver and a fast
// update rate.
const Scenario kSetups[] = {
    {"north east", 47.3769, 8.5417, 30.0, 1.0, 1},
    {"south east", -33.8688, 151.2093, 50.0, 1.0, 2},
    {"north west", 40.7128, -74.0060, 20.0, 2.0, 3},
    {"south west", -22.9068, -43.1729, 80.0, 1.0, 4},
    {"antimeridian", -17.0, 179.9995, 40.0, 1.0, 5},
    {"standing", 0.05, -0.05, 0.0, 5.0, 6},
};

TSimSettings SettingsOf(const Scenario& scenario)
{
    TSimSettings settings;
    settings.StartLatitudeDeg = scenario.Latitude;
    settings.StartLongitudeDeg = scenario.Longitude;
    settings.SpeedKmh = scenario.SpeedKmh;
    settings.RateHz = scenario.RateHz;
    settings.Seed = scenario.Seed;
    settings.BaudRate = 115200;
    return settings;
}

// Metres between two points a short way apart.
double Distance(double latitude1, double longitude1, double latitude2, double longitude2)
{
    const double north = (latitude2 - latitude1) / kDegrees * kEarthRadius;
    const double east = std::remainder(longitude2 - longitude1, 360.0) / kDegrees * kEarthRadius *
                        std::cos(latitude1 / kDegrees);
    return std::hypot(east, north);
}

TEST(SimNmeaOutput, EverySentenceIsFramedAndChecksummed)
{
    const std::set<std::string> known = {"GPGGA",      "GPGLL",      "GPGSA",     "GPGSV",
                                         "GPRMC",      "GPVTG",      "GPZDA",     "GPROT",
                                         "DIRU,GPacc", "DIRU,GPwav", "DIRU,GPtst"};
    for (const Scenario& scenario : kSetups) {
        SCOPED_TRACE(scenario.What);
        TSimReceiver receiver(SettingsOf(scenario));
        std::string rest;
        const std::vector<std::string> sentences = SplitSentences(RunFor(receiver, 90.0), &rest);
        ASSERT_GT(sentences.size(), 90U * 12U);
        for (const std::string& sentence : sentences) {
            SCOPED_TRACE(sentence);
            ASSERT_GE(sentence.size(), 7U);
            EXPECT_EQ(sentence.front(), '$');
            EXPECT_LE(sentence.size(), 82U);
            const size_t star = sentence.size() - 5;
            ASSERT_EQ(sentence[star], '*');
            uint8_t sum = 0;
            for (size_t i = 1; i < star; ++i) {
                EXPECT_GE(sentence[i], ' ');
                EXPECT_LE(sentence[i], '~');
                EXPECT_NE(sentence[i], '*');
                EXPECT_NE(sentence[i], '$');
                sum ^= static_cast<uint8_t>(sentence[i]);
            }
            const char digits[] = "0123456789ABCDEF";
            EXPECT_EQ(sentence[star + 1], digits[sum >> 4]);
            EXPECT_EQ(sentence[star + 2], digits[sum & 0x0F]);
            EXPECT_TRUE(known.contains(Address(sentence)));
        }
    }
}

TEST(SimNmeaOutput, DecodedCyclesDescribeAPlausibleFix)
{
    for (const Scenario& scenario : kSetups) {
        SCOPED_TRACE(scenario.What);
        const TSimSettings settings = SettingsOf(scenario);
        TSimReceiver receiver(settings);
        const TSimRoute route(scenario.Latitude, scenario.Longitude, scenario.SpeedKmh);
        SimDecoder decoder(TSimProtocol::Nmea);

        int cycles = 0;
        for (const std::string& sentence : SplitSentences(RunFor(receiver, 60.0))) {
            decoder.Feed(sentence);
            // The wav sentence closes a cycle.
            if (Address(sentence) != "DIRU,GPwav") {
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
            const double latitude = DegreesFromReceiver(state.Latitude);
            const double longitude = DegreesFromReceiver(state.Longitude);
            EXPECT_LT(Distance(truth.LatitudeDeg, truth.LongitudeDeg, latitude, longitude), 12.0);
            EXPECT_NEAR(state.Altitude, settings.AltitudeM, 15.0);
            EXPECT_NEAR(state.Speed, scenario.SpeedKmh, 1.0);
            EXPECT_GE(state.Course, 0.0);
            EXPECT_LT(state.Course, 360.0);
            EXPECT_EQ(state.RotStatus, 1);
            EXPECT_NEAR(state.RateOfTurn, truth.RateOfTurnDegMin, 0.06);

            // Satellites in view: GPS PRNs at sensible places in the sky.
            ASSERT_GE(state.SatellitesInView, 4);
            ASSERT_LE(state.SatellitesInView, kSatSlots);
            std::set<int> inView;
            for (int i = 0; i < state.SatellitesInView; ++i) {
                EXPECT_GE(state.SatPrn[i], 1);
                EXPECT_LE(state.SatPrn[i], 32);
                EXPECT_GE(state.SatElevation[i], 5);
                EXPECT_LE(state.SatElevation[i], 90);
                EXPECT_GE(state.SatAzimuth[i], 0);
                EXPECT_LE(state.SatAzimuth[i], 359);
                EXPECT_GE(state.SatCn0[i], 20);
                EXPECT_LE(state.SatCn0[i], 55);
                inView.insert(state.SatPrn[i]);
            }
            EXPECT_EQ(inView.size(), static_cast<size_t>(state.SatellitesInView));
            for (int prn = 1; prn <= 32; ++prn) {
                const int accuracy = state.SatAccuracy[prn - 1];
                if (inView.contains(prn)) {
                    EXPECT_GE(accuracy, 0);
                    EXPECT_LE(accuracy, 15);
                } else {
                    EXPECT_EQ(accuracy, NoCode) << "PRN " << prn;
                }
            }

            // The used satellites are in view, as many as GGA says, at most twelve, and their
            // geometry gives the DOPs GSA reports.
            std::vector<TLookAngles> used;
            for (int entry : state.UsedPrn) {
                if (entry == 0) {
                    continue;
                }
                const auto slot =
                    std::find(state.SatPrn, state.SatPrn + state.SatellitesInView, entry);
                ASSERT_NE(slot, state.SatPrn + state.SatellitesInView) << "PRN " << entry;
                const auto i = slot - state.SatPrn;
                used.push_back({static_cast<double>(state.SatElevation[i]),
                                static_cast<double>(state.SatAzimuth[i])});
            }
            EXPECT_EQ(static_cast<int>(used.size()), state.SatellitesUsed);
            EXPECT_LE(used.size(), 12U);
            EXPECT_LE(state.Hdop, state.Pdop);
            EXPECT_LE(state.Vdop, state.Pdop);
            EXPECT_NEAR(state.Pdop * state.Pdop, state.Hdop * state.Hdop + state.Vdop * state.Vdop,
                        0.05 * state.Pdop);
            EXPECT_LT(state.Pdop, 10.0);
            const auto dops = ComputeDops(used);
            ASSERT_TRUE(dops.has_value());
            EXPECT_NEAR(state.Pdop, dops->Pdop, 0.05 * dops->Pdop + 0.01);
            EXPECT_NEAR(state.Hdop, dops->Hdop, 0.05 * dops->Hdop + 0.01);
        }
        EXPECT_EQ(cycles, static_cast<int>(60 * scenario.RateHz));
    }
}

TEST(SimNmeaOutput, WavSentenceAddsSbasSatellitesBehindTheGpsOnes)
{
    for (const Scenario& scenario : kSetups) {
        SCOPED_TRACE(scenario.What);
        TSimReceiver receiver(SettingsOf(scenario));
        SimDecoder decoder(TSimProtocol::Nmea);
        decoder.Kept.SAref = TSatellitesRef::GSVWav;
        int gpsInView = 0;
        int checked = 0;
        for (const std::string& sentence : SplitSentences(RunFor(receiver, 20.0))) {
            decoder.Feed(sentence);
            if (Address(sentence) == "GPZDA") {
                ASSERT_TRUE(decoder.Take());
                gpsInView = decoder.State->SatellitesInView;
            }
            if (Address(sentence) != "DIRU,GPwav") {
                continue;
            }
            ASSERT_TRUE(decoder.Take());
            const TReceiverState& state = *decoder.State;
            EXPECT_TRUE(state.WavSatellitesUpdated);
            int sbas = 0;
            for (int i = gpsInView; i < kSatSlots; ++i) {
                if (state.SatPrn[i] == 0) {
                    continue;
                }
                ++sbas;
                // Stored as PRN - 87.
                EXPECT_GE(state.SatPrn[i], 120 - 87);
                EXPECT_LE(state.SatPrn[i], 138 - 87);
                EXPECT_GE(state.SatElevation[i], 5);
                EXPECT_LE(state.SatElevation[i], 90);
                EXPECT_LE(state.SatAzimuth[i], 359);
                EXPECT_GT(state.SatCn0[i], 0);
            }
            EXPECT_GE(sbas, std::min(2, kSatSlots - gpsInView));
            ++checked;
        }
        EXPECT_GT(checked, 0);
    }
}

TEST(SimNmeaOutput, DateAndTimeFollowTheClockAcrossDayAndYearEnds)
{
    struct Case
    {
        const char* What;
        int64_t Start;
        double RateHz;
        int Seconds;
        int Year;
        int Month;
        int Day; // of the last cycle, at 00:00:ss
    };
    const Case cases[] = {
        {"new year", 1704067198, 1.0, 4, 2024, 1, 1},
        {"leap day", 1709164799, 5.0, 3, 2024, 2, 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TSimSettings settings;
        settings.StartUnixSeconds = c.Start;
        settings.RateHz = c.RateHz;
        settings.BaudRate = 115200;
        TSimReceiver receiver(settings);
        SimDecoder decoder(TSimProtocol::Nmea);

        std::vector<double> secondsOfDay;
        TReceiverState last{};
        for (const std::string& sentence : SplitSentences(RunFor(receiver, c.Seconds))) {
            decoder.Feed(sentence);
            if (Address(sentence) == "GPZDA") {
                ASSERT_TRUE(decoder.Take());
                last = *decoder.State;
                secondsOfDay.push_back(last.Hour * 3600.0 + last.Minute * 60.0 + last.Second);
            }
        }
        ASSERT_EQ(secondsOfDay.size(), static_cast<size_t>(c.Seconds * c.RateHz));
        // The cycles are one period apart, the day wrapping at midnight.
        for (size_t i = 1; i < secondsOfDay.size(); ++i) {
            const double step = std::fmod(secondsOfDay[i] - secondsOfDay[i - 1] + 86400.0, 86400.0);
            EXPECT_NEAR(step, 1.0 / c.RateHz, 1e-6) << i;
        }
        EXPECT_EQ(last.Year, c.Year);
        EXPECT_EQ(last.Month, c.Month);
        EXPECT_EQ(last.Day, c.Day);
        EXPECT_EQ(last.Hour, 0);
        EXPECT_EQ(last.Minute, 0);
    }
}

} // namespace
} // namespace zz::test
