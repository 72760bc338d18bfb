// The evaluation of a decoded stream: real sentences through the NMEA engine, one snapshot per
// framed sentence as zedezuze-cli takes them.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/NmeaFields.h"
#include "core/SentenceChecks.h"
#include "core/TLinkHealth.h"
#include "core/TNmeaEngine.h"
#include "core/TReceiverEvaluation.h"

namespace zz {
namespace {

std::string Sentence(const std::string& body)
{
    const auto digits = UpperHexDigits(NmeaChecksum(body.data(), body.size()));
    return "$" + body + "*" + digits[0] + digits[1] + "\r\n";
}

std::string TimeField(int second)
{
    char text[16];
    std::snprintf(text, sizeof text, "1200%02d.00", second);
    return text;
}

// One 1 Hz cycle at 12:00:second on 2024-03-01: GGA (the header) with the quality, GSA with the
// mode and DOPs, ZDA last.
std::string Cycle(int second, int quality, int mode = 3)
{
    const std::string time = TimeField(second);
    const bool fixed = quality != 0;
    std::string text =
        Sentence("GPGGA," + time + "," + (fixed ? "4722.6140,N,00832.5020,E," : ",,,,") +
                 std::to_string(quality) + ",07,1.1,410.5,M,47.3,M,,");
    text += Sentence("GPGSA,A," + std::to_string(mode) + ",03,06,11,,,,,,,,,,2.5,1.3,2.1");
    text += Sentence("GPZDA," + time + ",01,03,2024,00,00");
    return text;
}

// The engine with hooks that hand every snapshot to the evaluation.
class Evaluator : public TProtocolHooks
{
public:
    Evaluator() : Engine(Flags, Kept, *this) {}

    void Feed(const std::string& bytes)
    {
        Engine.ReceiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    void LinePut(const char*, size_t) override
    {
        if (Engine.TakeSnapshot(*Snapshot)) {
            Evaluation.AddSnapshot(*Snapshot);
        }
    }
    TEvaluationReport Finish()
    {
        Evaluation.Finish();
        return Evaluation.Report();
    }

    TControlFlags Flags;
    TKeptValues Kept;
    TNmeaEngine Engine;
    std::unique_ptr<TReceiverState> Snapshot = std::make_unique<TReceiverState>();
    TReceiverEvaluation Evaluation{TProtocol::Nmea, std::nullopt, false};
};

TEST(ReceiverEvaluation, AvailabilityCountsCyclesByQualityAndModeAndFindsTheLongestGap)
{
    Evaluator evaluator;
    const int qualities[] = {1, 1, 0, 0, 0, 1, 2, 6, 0};
    for (int k = 0; k < 9; ++k) {
        evaluator.Feed(Cycle(k, qualities[k], k == 1 ? 2 : 3));
    }
    const TAvailabilityReport a = evaluator.Finish().Availability;
    EXPECT_EQ(a.Cycles, 9u);
    EXPECT_EQ(a.FixedCycles, 5u);
    EXPECT_EQ(a.NoFix, 4u);
    EXPECT_EQ(a.Gps, 3u);
    EXPECT_EQ(a.Dgps, 1u);
    EXPECT_EQ(a.DeadReckoning, 1u);
    EXPECT_EQ(a.Fixed2D, 1u);
    EXPECT_EQ(a.Fixed3D, 4u);
    // Cycles 2..4 without a fix, ended by cycle 5: three seconds without one.
    EXPECT_EQ(a.LongestGapCycles, 3u);
    ASSERT_TRUE(a.LongestGapSeconds);
    EXPECT_DOUBLE_EQ(*a.LongestGapSeconds, 3.0);
    // Nine cycles a second apart cover nine seconds.
    ASSERT_TRUE(a.CoveredSeconds);
    EXPECT_DOUBLE_EQ(*a.CoveredSeconds, 9.0);
}

TEST(ReceiverEvaluation, FixCyclesCarryTheirOwnValuesIntoAccuracyAndDop)
{
    Evaluator evaluator;
    for (int k = 0; k < 4; ++k) {
        evaluator.Feed(Cycle(k, 1));
    }
    const TEvaluationReport report = evaluator.Finish();
    EXPECT_EQ(report.Accuracy.Fixes, 4u);
    EXPECT_EQ(report.Accuracy.FixesWithHeight, 4u);
    EXPECT_NEAR(report.Accuracy.Mean->LatitudeDeg, 47.0 + 22.614 / 60.0, 1e-9);
    EXPECT_NEAR(report.Accuracy.Mean->LongitudeDeg, 8.0 + 32.502 / 60.0, 1e-9);
    EXPECT_NEAR(report.Accuracy.Mean->HeightM, 410.5, 1e-6);
    EXPECT_NEAR(*report.Accuracy.Cep95M, 0.0, 1e-6);
    EXPECT_DOUBLE_EQ(*report.Satellites.MeanSatellitesUsed, 7.0);
    EXPECT_DOUBLE_EQ(*report.Satellites.Hdop.Median, 1.3);
    EXPECT_DOUBLE_EQ(*report.Satellites.Pdop.P95, 2.5);
    EXPECT_DOUBLE_EQ(*report.Satellites.Vdop.Max, 2.1);
}

// A restart command in a text log: the fix still reported just after it predates the restart;
// the one after the receiver lost its fix counts, in receiver time from the last time before
// the command. A second restart that never fixes is reported as such.
TEST(ReceiverEvaluation, RestartsInALogAreTimedInReceiverTime)
{
    Evaluator evaluator;
    evaluator.Feed(Cycle(0, 1));
    evaluator.Feed(Cycle(1, 1));
    evaluator.Evaluation.RestartInLog("$DIRU,GPclr,3");
    evaluator.Feed(Cycle(2, 1));
    evaluator.Feed(Cycle(3, 0));
    evaluator.Feed(Cycle(4, 0));
    evaluator.Feed(Cycle(5, 1));
    evaluator.Feed(Cycle(6, 1));
    evaluator.Evaluation.RestartInLog("$DIRU,GPclr,5");
    evaluator.Feed(Cycle(7, 1));
    evaluator.Feed(Sentence("DIRU,GPtst,OK,1.05"));
    evaluator.Feed(Cycle(8, 0));
    const TTtffReport ttff = evaluator.Finish().Ttff;
    EXPECT_EQ(ttff.Restarts, 2u);
    EXPECT_EQ(ttff.Fixed, 1u);
    EXPECT_EQ(ttff.NotFixed, 1u);
    ASSERT_EQ(ttff.Listed.size(), 2u);
    EXPECT_EQ(ttff.Listed[0].Command, "$DIRU,GPclr,3");
    EXPECT_EQ(ttff.Listed[0].Outcome, TTtffOutcome::Fixed);
    EXPECT_DOUBLE_EQ(*ttff.Listed[0].Seconds, 4.0);
    EXPECT_EQ(ttff.Listed[1].Outcome, TTtffOutcome::NoFix);
    EXPECT_DOUBLE_EQ(*ttff.Median, 4.0);
}

TEST(ReceiverEvaluation, SatelliteTablesCountEachPrnSeenUsedAndItsSignal)
{
    Evaluator evaluator;
    const int cn0s[3] = {40, 30, 0}; // PRN 6's C/N0 in each report; 0 is "not tracked"
    for (int k = 0; k < 3; ++k) {
        evaluator.Feed(Sentence(k < 2 ? "GPGSA,A,3,03,06,,,,,,,,,,,2.0,1.0,1.7"
                                      : "GPGSA,A,3,03,,,,,,,,,,,,2.0,1.0,1.7"));
        evaluator.Feed(Sentence("GPGSV,1,1,03,03,45,120,44,06,30,200," +
                                (cn0s[k] == 0 ? std::string() : std::to_string(cn0s[k])) +
                                ",19,10,300,"));
    }
    const TSatelliteReport sky = evaluator.Finish().Satellites;
    EXPECT_EQ(sky.SkyReports, 3u);
    ASSERT_EQ(sky.Prns.size(), 3u);
    EXPECT_EQ(sky.Prns[0].Prn, 3);
    EXPECT_EQ(sky.Prns[0].Seen, 3u);
    EXPECT_EQ(sky.Prns[0].Used, 3u);
    EXPECT_DOUBLE_EQ(*sky.Prns[0].MeanCn0, 44.0);
    EXPECT_EQ(sky.Prns[1].Prn, 6);
    EXPECT_EQ(sky.Prns[1].Seen, 3u);
    EXPECT_EQ(sky.Prns[1].Used, 2u);
    EXPECT_DOUBLE_EQ(*sky.Prns[1].MeanCn0, 35.0);
    EXPECT_EQ(*sky.Prns[1].MinCn0, 30);
    EXPECT_EQ(sky.Prns[2].Prn, 19);
    EXPECT_EQ(sky.Prns[2].Used, 0u);
    EXPECT_FALSE(sky.Prns[2].MeanCn0);
}

TEST(ReceiverEvaluation, PositionsWithoutTheHeaderSentenceMakeNoCycles)
{
    Evaluator evaluator;
    evaluator.Kept.LFref = TPositionRef::RMC;
    for (int k = 0; k < 3; ++k) {
        evaluator.Feed(
            Sentence("GPRMC," + TimeField(k) + ",A,4722.6140,N,00832.5020,E,0.0,0.0,010324,,,A"));
    }
    const TEvaluationReport report = evaluator.Finish();
    EXPECT_TRUE(report.PositionsWithoutCycles);
    EXPECT_EQ(report.Availability.Cycles, 0u);

    // With RMC as the header the same log has its three cycles.
    Evaluator withHeader;
    withHeader.Kept.LFref = TPositionRef::RMC;
    withHeader.Kept.HeaderIndex = THeader::RMC;
    for (int k = 0; k < 3; ++k) {
        withHeader.Feed(
            Sentence("GPRMC," + TimeField(k) + ",A,4722.6140,N,00832.5020,E,0.0,0.0,010324,,,A"));
    }
    const TEvaluationReport cycles = withHeader.Finish();
    EXPECT_FALSE(cycles.PositionsWithoutCycles);
    EXPECT_EQ(cycles.Availability.FixedCycles, 3u);
}

TEST(LinkHealth, ChecksOfSentencesAndFrames)
{
    const struct
    {
        const char* Text;
        TCheckResult Nmea;
    } sentences[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", TCheckResult::Good},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48", TCheckResult::Bad},
        {"$DIRU,GPtst,OK,1.05*5c", TCheckResult::Good}, // lower-case digits
        {"$GPGGA,123519*4", TCheckResult::Bad},         // one digit
        {"$GPGGA,123519*4G", TCheckResult::Bad},
        {"$GPGGA,12*34,56", TCheckResult::Bad}, // '*' inside
        {"$GPGGA,123519", TCheckResult::Missing},
    };
    for (const auto& c : sentences) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(CheckNmeaSentence(c.Text), c.Nmea);
    }
    const struct
    {
        const char* Hex;
        TCheckResult Binary;
    } frames[] = {
        {"E1001807 1F173B3AF7EA", TCheckResult::Bad}, // not hexadecimal
        {"E10018071F173B3AF7EA", TCheckResult::Good},
        {"E10018071F173B3AF6EA", TCheckResult::Bad},
        {"D30030313032303300 00D3DA", TCheckResult::Bad},
        {"D3003031303230330000D3DA", TCheckResult::Good},
        {"E0EA", TCheckResult::Bad},
    };
    for (const auto& c : frames) {
        SCOPED_TRACE(c.Hex);
        EXPECT_EQ(CheckBinaryFrameText(c.Hex), c.Binary);
    }

    TLinkHealth link(TProtocol::Nmea);
    link.AddBytes(100);
    link.AddFramed("$GPGGA,1*00"); // 13 bytes on the line, wrong check
    link.AddFramed("$GPRMC,2");    // 10, none
    link.AddCommandLine(16);
    const TLinkReport counts = link.Counts();
    EXPECT_EQ(counts.Framed, 2u);
    EXPECT_EQ(counts.ChecksumFailures, 1u);
    EXPECT_EQ(counts.WithoutChecksum, 1u);
    EXPECT_EQ(counts.DiscardedBytes(), 100u - 13u - 10u - 16u);
    EXPECT_DOUBLE_EQ(LineUse(960, 1.0, 9600), 1.0);
}

} // namespace
} // namespace zz
