#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "BinaryFrames.h"

namespace zz::test {
namespace {

struct PositionFields
{
    uint8_t Status = 0x03;
    std::array<uint8_t, 4> Latitude{0x0A, 0x1D, 0x6E, 0x05};  // 3546.0741
    std::array<uint8_t, 4> Longitude{0x58, 0x01, 0x72, 0x68}; // -13945.5
    std::array<uint8_t, 4> Altitude{0x00, 0x00, 0x02, 0x64};  // 35.6 m
    std::array<uint8_t, 3> Speed{0x01, 0x02, 0x03};           // 1664.3 km/h
    std::array<uint8_t, 2> Course{0x15, 0x0E};                // 270.2 degrees
    uint8_t SatellitesUsed = 7;
};

Bytes PositionFrame(const PositionFields& f)
{
    Bytes payload{f.Status, 0x00};
    payload.insert(payload.end(), f.Latitude.begin(), f.Latitude.end());
    payload.insert(payload.end(), f.Longitude.begin(), f.Longitude.end());
    payload.insert(payload.end(), f.Altitude.begin(), f.Altitude.end());
    payload.insert(payload.end(), f.Speed.begin(), f.Speed.end());
    payload.insert(payload.end(), f.Course.begin(), f.Course.end());
    payload.push_back(f.SatellitesUsed);
    return Frame(0xE0, payload);
}

Bytes PositionFrameWithStatus(uint8_t status)
{
    PositionFields fields;
    fields.Status = status;
    return PositionFrame(fields);
}

Bytes VersionFrame(const char* digits, uint8_t second = 0x00)
{
    Bytes payload{second};
    payload.insert(payload.end(), digits, digits + 6);
    payload.insert(payload.end(), {0x00, 0x00});
    return Frame(0xD3, payload);
}

using BinaryDecoders = BinaryEngineTest;

TEST_F(BinaryDecoders, PositionFrameFillsPositionAltitudeVelocityAndFixMode)
{
    Feed(PositionFrame({}));
    const TReceiverState s = Snapshot();
    EXPECT_DOUBLE_EQ(s.Latitude, 3546.0741);
    EXPECT_DOUBLE_EQ(s.Longitude, -13945.5);
    EXPECT_EQ(s.FixQuality, 1);
    EXPECT_EQ(s.FixMode, 3);
    EXPECT_DOUBLE_EQ(s.Altitude, 35.6);
    EXPECT_DOUBLE_EQ(s.Speed, 1664.3);
    EXPECT_DOUBLE_EQ(s.Course, 270.2);
    EXPECT_EQ(s.SatellitesUsed, 7);
    for (TStateFlag flag : {TStateFlag::PositionUpdated, TStateFlag::AltitudeUpdated,
                            TStateFlag::VelocityUpdated, TStateFlag::FixModeUpdated}) {
        EXPECT_TRUE(StateFlag(s, flag)) << StateFlagName(flag);
    }
    for (TStateFlag flag : {TStateFlag::DateTimeUpdated, TStateFlag::DopUpdated,
                            TStateFlag::SatellitesUpdated, TStateFlag::CycleUpdated}) {
        EXPECT_FALSE(StateFlag(s, flag)) << StateFlagName(flag);
    }
    EXPECT_TRUE(s.PositionPending);
    EXPECT_TRUE(s.FixModePending);
    EXPECT_GE(Hooks.DisplayPendingCount, 1);
}

TEST_F(BinaryDecoders, CoordinatesAreSigned28BitTenThousandthsOfAMinute)
{
    struct Case
    {
        const char* what;
        std::array<uint8_t, 4> field;
        double expected;
    };
    const Case cases[] = {
        {"35 degrees 46.0741 minutes", {0x0A, 0x1D, 0x6E, 0x05}, 3546.0741},
        {"the same, negative (bit 27 set)", {0x75, 0x62, 0x11, 0x7B}, -3546.0741},
        {"bit 7 of each byte is ignored", {0x8A, 0x9D, 0xEE, 0x85}, 3546.0741},
        {"just under a degree", {0x00, 0x24, 0x4F, 0x3F}, 59.9999},
        {"twelve whole degrees", {0x03, 0x37, 0x3A, 0x00}, 1200.0},
        {"minus one unit", {0x7F, 0x7F, 0x7F, 0x7F}, -0.0001},
        {"most negative 28-bit number", {0x40, 0x00, 0x00, 0x00}, -22341.7728},
        {"zero", {0x00, 0x00, 0x00, 0x00}, 0.0},
    };
    const std::array<uint8_t, 4> zero{};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Dispatched directly: a payload byte with bit 7 set may spoil the framing.
        PositionFields asLatitude;
        asLatitude.Latitude = c.field;
        asLatitude.Longitude = zero;
        Bytes frame = PositionFrame(asLatitude);
        Engine->DispatchFrame(frame.data(), static_cast<int>(frame.size()));
        TReceiverState s = Snapshot();
        EXPECT_NEAR(s.Latitude, c.expected, 1e-9);
        EXPECT_EQ(s.Longitude, 0.0);

        PositionFields asLongitude;
        asLongitude.Latitude = zero;
        asLongitude.Longitude = c.field;
        frame = PositionFrame(asLongitude);
        Engine->DispatchFrame(frame.data(), static_cast<int>(frame.size()));
        s = Snapshot();
        EXPECT_EQ(s.Latitude, 0.0);
        EXPECT_NEAR(s.Longitude, c.expected, 1e-9);
    }
}

TEST_F(BinaryDecoders, AltitudeIsSigned28BitTenthsOfAMetre)
{
    struct Case
    {
        std::array<uint8_t, 4> field;
        double expected;
    };
    const Case cases[] = {
        {{0x7F, 0x7F, 0x7F, 0x7E}, -0.2},        {{0x00, 0x00, 0x02, 0x64}, 35.6},
        {{0x01, 0x00, 0x00, 0x00}, 209715.2},    {{0x3F, 0x7F, 0x7F, 0x7F}, 13421772.7},
        {{0x40, 0x00, 0x00, 0x00}, -13421772.8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        PositionFields fields;
        fields.Altitude = c.field;
        Feed(PositionFrame(fields));
        EXPECT_NEAR(Snapshot().Altitude, c.expected, 1e-6);
    }
}

TEST_F(BinaryDecoders, StatusBitsGiveFixQualityAndFixMode)
{
    struct Case
    {
        uint8_t status;
        int32_t fixQuality;
        int32_t fixMode;
    };
    const Case cases[] = {
        {0x00, 0, 1}, {0x01, 1, 2}, {0x02, 0, 1}, {0x03, 1, 3}, {0x7D, 1, 2}, {0x7E, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.status));
        Feed(PositionFrameWithStatus(c.status));
        const TReceiverState s = Snapshot();
        EXPECT_EQ(s.FixQuality, c.fixQuality);
        EXPECT_EQ(s.FixMode, c.fixMode);
    }
}

TEST_F(BinaryDecoders, EachPositionFrameOpensACycleSummarisingThePreviousOne)
{
    Feed(PositionFrameWithStatus(0x01));
    TReceiverState s = Snapshot();
    EXPECT_FALSE(s.CycleUpdated);
    EXPECT_EQ(s.AltitudeSampleCount, 1);
    EXPECT_EQ(s.VelocitySampleCount, 1);

    PositionFields second;
    second.Status = 0x03;
    second.Latitude = {0x75, 0x62, 0x11, 0x7B};
    Feed(PositionFrame(second));
    s = Snapshot();
    EXPECT_TRUE(s.CycleUpdated);
    EXPECT_DOUBLE_EQ(s.CycleLatitude, 3546.0741);
    EXPECT_DOUBLE_EQ(s.CycleLongitude, -13945.5);
    EXPECT_EQ(s.CycleFixQuality, 1);
    EXPECT_EQ(s.CycleFixMode, 2);
    EXPECT_DOUBLE_EQ(s.Latitude, -3546.0741);
    EXPECT_EQ(s.FixMode, 3);
    EXPECT_EQ(s.AltitudeSampleCount, 2);
}

TEST_F(BinaryDecoders, DateTimeFrame)
{
    Feed(Frame(0xE1, {0x00, 0x18, 0x07, 0x1F, 0x17, 0x3B, 0x3A}));
    const TReceiverState s = Snapshot();
    EXPECT_TRUE(s.DateTimeUpdated);
    EXPECT_FALSE(s.PositionUpdated);
    EXPECT_EQ(s.Year, 2024);
    EXPECT_EQ(s.Month, 7);
    EXPECT_EQ(s.Day, 31);
    EXPECT_EQ(s.Hour, 23);
    EXPECT_EQ(s.Minute, 59);
    EXPECT_EQ(s.Second, 58.0);
}

TEST_F(BinaryDecoders, SatelliteFrameFillsTheTableUsedListAndAccuracy)
{
    struct Block
    {
        uint8_t prn, azimuthHigh, azimuthLow, elevation, state, cn0;
    };
    // state: bits 0-2 tracking (2 = used), bits 3-6 accuracy index
    const Block blocks[12] = {
        {5, 0x02, 0x0C, 45, (9 << 3) | 2, 42},   // used, accuracy 9, azimuth 268
        {32, 0x00, 0x10, 10, (15 << 3) | 3, 30}, // tracked, not used; highest PRN with accuracy
        {1, 0x01, 0x00, 80, (1 << 3) | 2, 50},   // used, accuracy 1, azimuth 128
        {33, 0x00, 0x01, 5, (7 << 3) | 2, 20},   // used; no accuracy entry for PRN 33
        {12, 0x00, 0x00, 0, (4 << 3) | 6, 0},    // tracking 6 is not "used"
        {0, 0x00, 0x00, 0, (14 << 3) | 2, 0},    // empty block: no accuracy entry for PRN 0
    };
    Bytes payload{0x00};
    for (const Block& b : blocks) {
        payload.insert(payload.end(),
                       {b.prn, b.azimuthHigh, b.azimuthLow, b.elevation, b.state, b.cn0});
    }
    Flags.UsedPrnResetRequest = 1;
    Feed(Frame(0xE2, payload));
    EXPECT_EQ(Flags.UsedPrnResetRequest.load(), 0);

    const TReceiverState s = Snapshot();
    EXPECT_TRUE(s.SatellitesUpdated);
    EXPECT_TRUE(s.UsedPrnUpdated);
    EXPECT_TRUE(s.AccuracyUpdated);
    EXPECT_EQ(s.SatellitesInView, 12);
    const std::vector<int32_t> prn(s.SatPrn, s.SatPrn + kSatSlots);
    const std::vector<int32_t> used(s.UsedPrn, s.UsedPrn + kSatSlots);
    const std::vector<int32_t> azimuth(s.SatAzimuth, s.SatAzimuth + 6);
    const std::vector<int32_t> elevation(s.SatElevation, s.SatElevation + 6);
    const std::vector<int32_t> cn0(s.SatCn0, s.SatCn0 + 6);
    EXPECT_EQ(prn, (std::vector<int32_t>{5, 32, 1, 33, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(used, (std::vector<int32_t>{5, 0, 1, 33, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(azimuth, (std::vector<int32_t>{268, 16, 128, 1, 0, 0}));
    EXPECT_EQ(elevation, (std::vector<int32_t>{45, 10, 80, 5, 0, 0}));
    EXPECT_EQ(cn0, (std::vector<int32_t>{42, 30, 50, 20, 0, 0}));

    std::vector<int32_t> accuracy(kAccuracySlots, 0);
    accuracy[0] = 1;
    accuracy[4] = 9;
    accuracy[11] = 4;
    accuracy[31] = 15;
    EXPECT_EQ(std::vector<int32_t>(s.SatAccuracy, s.SatAccuracy + kAccuracySlots), accuracy);
}

TEST_F(BinaryDecoders, DopFrameDerivesPdop)
{
    struct Case
    {
        Bytes dop;
        double hdop, vdop, pdop;
    };
    const Case cases[] = {
        {{0x00, 0x0C, 0x00, 0x10}, 1.2, 1.6, 2.0},
        {{0x01, 0x05, 0x00, 0x00}, 13.3, 0.0, 13.3},
        {{0x00, 0x00, 0x02, 0x00}, 0.0, 25.6, 25.6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pdop);
        Bytes payload = c.dop;
        payload.resize(12, 0x00);
        Feed(Frame(0xE3, payload));
        const TReceiverState s = Snapshot();
        EXPECT_TRUE(s.DopUpdated);
        EXPECT_FALSE(s.FixModeUpdated);
        EXPECT_NEAR(s.Hdop, c.hdop, 1e-9);
        EXPECT_NEAR(s.Vdop, c.vdop, 1e-9);
        EXPECT_NEAR(s.Pdop, c.pdop, 1e-9);
    }
}

TEST_F(BinaryDecoders, VersionFrameReadsSixDigits)
{
    Feed(VersionFrame("010203"));
    TReceiverState s = Snapshot();
    EXPECT_TRUE(s.VersionUpdated);
    EXPECT_DOUBLE_EQ(s.ProgramVersion, 10203.0);

    Feed(VersionFrame("987654"));
    EXPECT_DOUBLE_EQ(Snapshot().ProgramVersion, 987654.0);

    // The second byte tells another kind of report.
    Feed(VersionFrame("111111", 0x01));
    TReceiverState untouched{};
    EXPECT_FALSE(Engine->TakeSnapshot(untouched));
    EXPECT_TRUE(Hooks.TtffTexts.empty());
}

TEST_F(BinaryDecoders, FramesOfTheWrongLengthChangeNothing)
{
    struct Case
    {
        uint8_t identifier;
        size_t payloadLength;
    };
    const Case rightLengths[] = {{0xE0, 20}, {0xE1, 7}, {0xE2, 73}, {0xE3, 12}, {0xD3, 9}};
    for (const Case& c : rightLengths) {
        for (size_t length : {c.payloadLength - 1, c.payloadLength + 1}) {
            SCOPED_TRACE(std::to_string(c.identifier) + " with " + std::to_string(length));
            const Bytes frame = Frame(c.identifier, Bytes(length, 0x01));
            Engine->DispatchFrame(frame.data(), static_cast<int>(frame.size()));
        }
    }
    for (uint8_t identifier : {0xD0, 0xD4, 0xD5, 0xD9}) {
        Feed(Frame(identifier, Bytes(20, 0x01)));
    }
    TReceiverState untouched{};
    EXPECT_FALSE(Engine->TakeSnapshot(untouched));
    EXPECT_EQ(Hooks.DisplayPendingCount, 0);

    // No cycle was started either: the first real position frame opens cycle 1.
    Feed(PositionFrame({}));
    EXPECT_EQ(Snapshot().AltitudeSampleCount, 1);
}

TEST_F(BinaryDecoders, TimeToFirstFixRunsFromCommandToFirstValidFixAfterTheRestartReport)
{
    Engine->ArmTtff();
    Hooks.AdvanceSeconds(1.0);
    Feed(PositionFrameWithStatus(0x01)); // fix before the restart report: not timed
    EXPECT_FALSE(Snapshot().TtffUpdated);

    Feed(VersionFrame("010203"));
    EXPECT_EQ(Hooks.TtffTexts, std::vector<TTtffText>{TTtffText::Counting});
    EXPECT_TRUE(Snapshot().TtffRestarted);

    Hooks.AdvanceSeconds(2.0);
    Feed(PositionFrameWithStatus(0x00)); // no fix yet
    EXPECT_FALSE(Snapshot().TtffUpdated);

    Hooks.AdvanceSeconds(9.345);
    Feed(PositionFrameWithStatus(0x03));
    TReceiverState s = Snapshot();
    EXPECT_TRUE(s.TtffUpdated);
    EXPECT_EQ(s.Ttff, 1234); // 12.345 s in whole hundredths
    EXPECT_FALSE(s.TtffArmed);
    EXPECT_FALSE(s.TtffRestarted);

    Hooks.AdvanceSeconds(1.0);
    Feed(PositionFrameWithStatus(0x03));
    EXPECT_FALSE(Snapshot().TtffUpdated);
}

TEST_F(BinaryDecoders, VersionReportWithoutRestartCommandStartsNoMeasurement)
{
    Feed(VersionFrame("010203"));
    EXPECT_FALSE(Snapshot().TtffRestarted);
    EXPECT_TRUE(Hooks.TtffTexts.empty());
}

TEST_F(BinaryDecoders, PlotClearRequestIsServedBeforeAnyFrameIsDispatched)
{
    Feed(PositionFrame({}));
    Feed(PositionFrame({}));
    Flags.PlotClearRequest = 1;
    // Served by the received-bytes step (counters only), so the dispatcher and the cycle
    // start find nothing to serve and clear no plot.
    Feed(PositionFrame({}));
    EXPECT_EQ(Flags.PlotClearRequest.load(), 0);
    EXPECT_EQ(Hooks.PlotClears, 0);
    EXPECT_EQ(Snapshot().AltitudeSampleCount, 1);

    // Handed straight to the dispatcher, the request clears the plots as well.
    Flags.PlotClearRequest = 1;
    const Bytes dop = Frame(0xE3, Bytes(12, 0x00));
    Engine->DispatchFrame(dop.data(), static_cast<int>(dop.size()));
    EXPECT_EQ(Flags.PlotClearRequest.load(), 0);
    EXPECT_EQ(Hooks.PlotClears, 1);
}

} // namespace
} // namespace zz::test
