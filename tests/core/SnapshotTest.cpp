// The snapshot hand-over between the decoding thread and the monitor: what a snapshot carries,
// and that concurrent decoding and snapshots never tear a group or lose ring lines' order.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/core/NmeaEngineFixture.h"

namespace zz::test {
namespace {

using SnapshotTest = NmeaEngineFixture;

TEST_F(SnapshotTest, FreshRecordGivesNoSnapshot)
{
    Snapshot->Latitude = 1.0;
    EXPECT_FALSE(Take());
    EXPECT_EQ(Snapshot->Latitude, 1.0);
}

TEST_F(SnapshotTest, CarriesTheLatestValuesOnceAndClearsTheFlags)
{
    FeedSentences({"$GPGGA,1,3540.1000,N,13945.5000,E,1,05,1.2,10.0,M,,M,,*00",
                   "$GPGGA,2,3540.2000,N,13945.6000,E,2,06,1.2,20.0,M,,M,,*00"});
    ASSERT_TRUE(Take());
    EXPECT_TRUE(Snapshot->PositionUpdated);
    EXPECT_TRUE(Snapshot->AltitudeUpdated);
    EXPECT_TRUE(Snapshot->CycleUpdated);
    EXPECT_EQ(Snapshot->Latitude, 3540.2);
    EXPECT_EQ(Snapshot->FixQuality, 2);
    EXPECT_EQ(Snapshot->CycleLatitude, 3540.1);
    EXPECT_FALSE(Take());
}

TEST_F(SnapshotTest, UsedPrnResetRequestEmptiesTheListInTheHandOver)
{
    FeedSentences({"$GPGSA,A,3,04,05,09,,,,,,,,,,2.0,1.0,1.7*00"});
    ASSERT_TRUE(Take());
    EXPECT_EQ(Snapshot->UsedPrn[0], 4);

    Flags.UsedPrnResetRequest = 1;
    FeedSentences({"$GPGGA,1,3540.1000,N,13945.5000,E,1,05,1.2,10.0,M,,M,,*00"});
    ASSERT_TRUE(Take());
    EXPECT_FALSE(Snapshot->UsedPrnUpdated);
    for (int32_t prn : Snapshot->UsedPrn) {
        EXPECT_EQ(prn, 0);
    }
    EXPECT_EQ(Flags.UsedPrnResetRequest.load(), 0);
}

// A GGA whose latitude minutes, altitude and satellite count all carry the same number n: a
// snapshot that shows different numbers in them has seen a half-written update.
std::string CountingGga(int n)
{
    char text[96];
    std::snprintf(text, sizeof text,
                  "$GPGGA,1,35%02d.%04d,N,13945.5000,E,1,%02d,1.2,%d.0,M,,M,,*00\r\n", n % 60,
                  n % 10000, n % 100, n);
    return text;
}

TEST_F(SnapshotTest, ConcurrentDecodingNeverHandsOverAHalfWrittenGroup)
{
    constexpr int kSentences = 20000;
    std::atomic<bool> done{false};
    std::thread decoder([&] {
        for (int n = 0; n < kSentences; ++n) {
            Feed(CountingGga(n));
        }
        done = true;
    });

    int snapshots = 0;
    int lines = 0;
    int lastLine = -1;
    auto buffer = std::make_unique<char[]>(kLineSlotSize);
    while (!done.load() || !Engine->Ring().IsEmpty()) {
        int32_t count = 0;
        if (Engine->Ring().TakeLine(buffer.get(), count) != TTakeResult::Nothing) {
            const std::string line(buffer.get(), static_cast<size_t>(count));
            const int n = std::atoi(line.c_str() + line.rfind(',', line.find(".0,M")) + 1);
            ASSERT_EQ(line + "\r\n", CountingGga(n));
            ASSERT_GT(n, lastLine); // lines keep their order; a lapped ring only skips
            lastLine = n;
            ++lines;
        }
        if (Take()) {
            const int n = static_cast<int>(Snapshot->Altitude);
            ASSERT_EQ(Snapshot->SatellitesUsed, n % 100);
            ASSERT_NEAR(Snapshot->Latitude, 3500 + n % 60 + (n % 10000) / 10000.0, 1e-9);
            ++snapshots;
        }
    }
    decoder.join();
    EXPECT_GT(snapshots, 0);
    EXPECT_GT(lines, 0);
}

} // namespace
} // namespace zz::test
