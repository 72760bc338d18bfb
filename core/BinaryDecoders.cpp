#include <cmath>

#include "core/TBinaryEngine.h"

namespace zz {
namespace {

constexpr int kPositionFrameLength = 23;
constexpr int kDateTimeFrameLength = 10;
constexpr int kSatelliteFrameLength = 76;
constexpr int kDopFrameLength = 15;
constexpr int kVersionFrameLength = 12;

constexpr int kSatelliteBlocks = 12;
constexpr int kSatelliteBlockSize = 6;
constexpr int kUsedTrackingState = 2;

constexpr int32_t kRange28 = 1 << 28;
constexpr int32_t kSign28 = 1 << 27;
constexpr int32_t kTenThousandthsPerDegree = 600000;
constexpr uint8_t kSevenBits = 0x7F;

// Numbers in the payload are big-endian groups of 7-bit bytes.
int32_t Field2(const uint8_t* bytes)
{
    return bytes[0] * 128 + bytes[1];
}

int32_t Field3(const uint8_t* bytes)
{
    return bytes[0] * 16384 + bytes[1] * 128 + bytes[2];
}

int32_t Field4(const uint8_t* bytes)
{
    return bytes[0] * 2097152 + bytes[1] * 16384 + bytes[2] * 128 + bytes[3];
}

// A 4-byte field read as a 28-bit two's-complement number.
int32_t SignedField4(const uint8_t* bytes)
{
    const int32_t value = Field4(bytes) & (kRange28 - 1);
    return (value & kSign28) != 0 ? value - kRange28 : value;
}

// A coordinate in 1/10000 minute of arc, as the signed ddmm.mmmm (dddmm.mmmm) of the state.
double Coordinate(const uint8_t* bytes)
{
    const uint8_t sevenBit[4] = {
        static_cast<uint8_t>(bytes[0] & kSevenBits), static_cast<uint8_t>(bytes[1] & kSevenBits),
        static_cast<uint8_t>(bytes[2] & kSevenBits), static_cast<uint8_t>(bytes[3] & kSevenBits)};
    const int32_t value = Field4(sevenBit);
    const bool negative = (value & kSign28) != 0;
    const int32_t magnitude = negative ? kRange28 - value : value;
    const int32_t degrees = magnitude / kTenThousandthsPerDegree;
    const int32_t tenThousandths = magnitude - degrees * kTenThousandthsPerDegree;
    const double ddmm = degrees * 100 + tenThousandths * 0.0001;
    return negative ? -ddmm : ddmm;
}

// Bit 0 of the status tells a valid fix, bit 1 a three-dimensional one.
int32_t FixModeOf(uint8_t status)
{
    if ((status & 0x01) == 0) {
        return 1;
    }
    return (status & 0x02) != 0 ? 3 : 2;
}

} // namespace

// E0 03 00 0A 1D 6E 05 58 01 72 68 00 00 02 64 01 02 03 15 0E 07 A6 EA
//
// | bytes  | field           | example                                   |
// |--------|-----------------|-------------------------------------------|
// | 1      | status          | 03: fix valid, three-dimensional          |
// | 2      | not used        |                                           |
// | 3..6   | latitude        | 0A 1D 6E 05: 21460741 -> 3546.0741 (N)    |
// | 7..10  | longitude       | 58 01 72 68: 28-bit negative -> -13945.5  |
// | 11..14 | altitude, 0.1 m | 00 00 02 64: 356 -> 35.6 m                |
// | 15..17 | speed, 0.1 km/h | 01 02 03: 16643 -> 1664.3 km/h            |
// | 18..19 | course, 0.1 deg | 15 0E: 2702 -> 270.2 degrees              |
// | 20     | satellites used | 07                                        |
// | 21, 22 | check, end      | A6 EA                                     |
void TBinaryEngine::DecodePositionFrame(const uint8_t* frame, int n)
{
    if (n != kPositionFrameLength) {
        return;
    }
    // Every position frame opens a cycle, so the summary describes the cycle just ended.
    CycleStart();
    auto lock = LockState();
    const uint8_t status = frame[1];
    State.Latitude = Coordinate(frame + 3);
    State.Longitude = Coordinate(frame + 7);
    State.FixQuality = status & 0x01;
    State.Altitude = SignedField4(frame + 11) * 0.1;
    State.SatellitesUsed = frame[20];
    State.Course = Field2(frame + 18) * 0.1;
    State.Speed = Field3(frame + 15) * 0.1;
    TestFirstFix(true);
    State.FixMode = FixModeOf(status);
    State.VelocityUpdated = true;
    State.AltitudeUpdated = true;
    State.PositionUpdated = true;
    State.PositionPending = true;
    State.FixModePending = true;
    State.FixModeUpdated = true;
    MarkDisplayPending();
}

// E1 00 18 07 1F 17 3B 3A F7 EA: 2024-07-31 23:59:58
//
// Byte 1 is not used; bytes 2..7 are year - 2000, month, day, hour, minute, whole seconds.
void TBinaryEngine::DecodeDateTimeFrame(const uint8_t* frame, int n)
{
    if (n != kDateTimeFrameLength) {
        return;
    }
    auto lock = LockState();
    State.Year = frame[2] + 2000;
    State.Month = frame[3];
    State.Day = frame[4];
    State.Hour = frame[5];
    State.Minute = frame[6];
    State.Second = frame[7];
    State.DateTimeUpdated = true;
    MarkDisplayPending();
}

// E2 00 05 02 0C 2D 4A 2A 00 00 ... 00 A4 EA (twelve 6-byte blocks from byte 2, 76 bytes in all)
//
// | block byte | field          | example (first block)                        |
// |------------|----------------|----------------------------------------------|
// | 0          | PRN            | 05                                           |
// | 1..2       | azimuth, deg   | 02 0C: 268                                   |
// | 3          | elevation, deg | 2D: 45                                       |
// | 4          | state          | 4A: bits 0-2 tracking 2 (used), bits 3-6 = 9 |
// | 5          | C/N0, dB-Hz    | 2A: 42                                       |
void TBinaryEngine::DecodeSatelliteFrame(const uint8_t* frame, int n)
{
    if (n != kSatelliteFrameLength) {
        return;
    }
    auto lock = LockState();
    for (int i = 0; i < kSatelliteBlocks; ++i) {
        const uint8_t* block = frame + 2 + i * kSatelliteBlockSize;
        const auto slot = static_cast<size_t>(i);
        const int32_t prn = block[0];
        const uint8_t state = block[4];
        State.SatPrn[slot] = prn;
        State.SatAzimuth[slot] = Field2(block + 1);
        State.SatElevation[slot] = block[3];
        State.SatCn0[slot] = block[5];
        if (prn >= 1 && prn <= kAccuracySlots) {
            State.SatAccuracy[static_cast<size_t>(prn - 1)] = (state >> 3) & 0x0F;
        }
        State.UsedPrn[slot] = (state & 0x07) == kUsedTrackingState ? prn : 0;
    }
    // This frame carries the whole used list, so a pending request to empty it is void.
    Flags.UsedPrnResetRequest.store(0);
    State.SatellitesInView = kSatelliteBlocks;
    State.SatellitesUpdated = true;
    State.UsedPrnUpdated = true;
    State.AccuracyUpdated = true;
    MarkDisplayPending();
}

// E3 00 0C 00 10 00 00 00 00 00 00 00 00 FF EA: HDOP 1.2, VDOP 1.6, PDOP 2.0
//
// Bytes 1..2 HDOP and 3..4 VDOP in units of 0.1; bytes 5..12 are not used.
void TBinaryEngine::DecodeDopFrame(const uint8_t* frame, int n)
{
    if (n != kDopFrameLength) {
        return;
    }
    auto lock = LockState();
    State.Hdop = Field2(frame + 1) * 0.1;
    State.Vdop = Field2(frame + 3) * 0.1;
    State.Pdop = std::sqrt(State.Hdop * State.Hdop + State.Vdop * State.Vdop);
    State.DopUpdated = true;
    MarkDisplayPending();
}

// D3 00 30 31 30 32 30 33 00 00 D3 DA: program version 010203, stored as 10203
//
// Byte 1 must be 0; bytes 2..7 are six ASCII digits; bytes 8..9 are not used.
void TBinaryEngine::DecodeVersionFrame(const uint8_t* frame, int n)
{
    if (n != kVersionFrameLength || frame[1] != 0) {
        return;
    }
    int64_t tenfold = 0;
    for (int i = 2; i <= 7; ++i) {
        tenfold = (tenfold + (frame[i] - '0')) * 10;
    }
    auto lock = LockState();
    State.ProgramVersion = static_cast<double>(tenfold) * 0.1;
    NoteRestartReport();
    State.VersionUpdated = true;
    MarkDisplayPending();
}

} // namespace zz
