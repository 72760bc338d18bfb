#include "sim/SimFrames.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "sim/SimUnits.h"

namespace zz {
namespace {

constexpr size_t kSatelliteBlocks = 12;
constexpr int kUsedInSolution = 2;
constexpr int kTracking = 1;

// A frame payload being filled, 7-bit bytes, big-endian groups.
class TPayload
{
public:
    void Put(int64_t value, int bytes);
    void PutByte(int value) { Put(value, 1); }
    std::span<const uint8_t> Bytes() const { return {Data.data(), Length}; }

private:
    std::array<uint8_t, kMaxFrameBytes> Data{};
    size_t Length = 0;
};

// Writes the low 7 x bytes bits of value, most significant group first: a negative value
// lands as its two's complement over those bits.
void TPayload::Put(int64_t value, int bytes)
{
    const uint64_t bits = static_cast<uint64_t>(value);
    for (int i = bytes - 1; i >= 0; --i) {
        Data[Length++] = static_cast<uint8_t>((bits >> (7 * i)) & 0x7F);
    }
}

int64_t Rounded(double value)
{
    return std::llround(value);
}

} // namespace

void AppendFrame(uint8_t identifier, std::span<const uint8_t> payload, std::string& out)
{
    uint8_t check = identifier;
    out.push_back(static_cast<char>(identifier));
    for (uint8_t byte : payload) {
        check ^= byte;
        out.push_back(static_cast<char>(byte));
    }
    out.push_back(static_cast<char>(check));
    out.push_back(static_cast<char>((identifier & 0xF0) | 0x0A));
}

// E0 | status | 0 | latitude(4, signed) | longitude(4, signed) | altitude(4, signed)
//    | speed(3) | course(2) | satellites used | check | EA
// Latitude and longitude in 1/10000 minute, altitude in 0.1 m, speed 0.1 km/h, course 0.1 deg.
void AppendPositionFrame(const TSimEpoch& epoch, std::string& out)
{
    TPayload payload;
    payload.PutByte(!epoch.Fix ? 0x00 : epoch.ThreeDimensional ? 0x03 : 0x01);
    payload.PutByte(0);
    payload.Put(epoch.Fix ? MinuteTenThousandths(epoch.LatitudeDeg) : 0, 4);
    payload.Put(epoch.Fix ? MinuteTenThousandths(epoch.LongitudeDeg) : 0, 4);
    payload.Put(epoch.Fix ? Rounded(epoch.AltitudeM * 10.0) : 0, 4);
    payload.Put(epoch.Fix ? Rounded(epoch.SpeedKmh * 10.0) : 0, 3);
    payload.Put(epoch.Fix ? Rounded(epoch.CourseDeg * 10.0) % 3600 : 0, 2);
    payload.PutByte(epoch.Fix ? epoch.SatellitesUsed : 0);
    AppendFrame(kPositionFrame, payload.Bytes(), out);
}

// E1 | 0 | year-2000 | month | day | hour | minute | second | check | EA
void AppendDateTimeFrame(const TSimEpoch& epoch, std::string& out)
{
    TPayload payload;
    payload.PutByte(0);
    payload.PutByte(epoch.Year - 2000);
    payload.PutByte(epoch.Month);
    payload.PutByte(epoch.Day);
    payload.PutByte(epoch.Hour);
    payload.PutByte(epoch.Minute);
    payload.PutByte(epoch.Centiseconds / 100);
    AppendFrame(kDateTimeFrame, payload.Bytes(), out);
}

// E2 | 0 | twelve blocks of PRN, azimuth(2), elevation, state, C/N0 | check | EA
// State: bits 0-2 tracking (2 used in the solution), bits 3-6 accuracy class.
// The blocks carry the highest satellites; unused blocks are zero.
void AppendSatelliteFrame(const TSimEpoch& epoch, std::string& out)
{
    std::array<const TSimSatelliteReport*, kSimGpsSatellites> order{};
    for (size_t i = 0; i < epoch.SatelliteCount; ++i) {
        order[i] = &epoch.Satellites[i];
    }
    const size_t count = std::min(epoch.SatelliteCount, kSatelliteBlocks);
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
                      order.begin() + static_cast<std::ptrdiff_t>(epoch.SatelliteCount),
                      [](const TSimSatelliteReport* a, const TSimSatelliteReport* b) {
                          return a->Elevation > b->Elevation;
                      });
    TPayload payload;
    payload.PutByte(0);
    for (size_t block = 0; block < kSatelliteBlocks; ++block) {
        if (block >= count) {
            for (int i = 0; i < 6; ++i) {
                payload.PutByte(0);
            }
            continue;
        }
        const TSimSatelliteReport& satellite = *order[block];
        payload.PutByte(satellite.Prn);
        payload.Put(satellite.Azimuth, 2);
        payload.PutByte(satellite.Elevation);
        payload.PutByte((std::clamp(satellite.Accuracy, 0, 15) << 3) |
                        (satellite.Used ? kUsedInSolution : kTracking));
        payload.PutByte(satellite.Cn0);
    }
    AppendFrame(kSatelliteFrame, payload.Bytes(), out);
}

// E3 | HDOP(2) | VDOP(2) | eight bytes not used | check | EA   (DOPs in 0.1)
void AppendDopFrame(const TSimEpoch& epoch, std::string& out)
{
    constexpr int64_t kNoSolution = 999;
    TPayload payload;
    payload.Put(
        epoch.Fix ? std::min<int64_t>(Rounded(epoch.Hdop * 10.0), kNoSolution) : kNoSolution, 2);
    payload.Put(
        epoch.Fix ? std::min<int64_t>(Rounded(epoch.Vdop * 10.0), kNoSolution) : kNoSolution, 2);
    for (int i = 0; i < 8; ++i) {
        payload.PutByte(0);
    }
    AppendFrame(kDopFrame, payload.Bytes(), out);
}

// D3 | 0 | six ASCII digits of the program version | two bytes not used | check | DA
void AppendVersionFrame(std::string& out)
{
    TPayload payload;
    payload.PutByte(0);
    for (size_t i = 0; i < 6; ++i) {
        payload.PutByte(kSimProgramVersion[i]);
    }
    payload.PutByte(0);
    payload.PutByte(0);
    AppendFrame(kVersionFrame, payload.Bytes(), out);
}

void AppendUndecodedFrame(uint8_t identifier, std::span<const uint8_t> payload, std::string& out)
{
    std::array<uint8_t, kMaxFrameBytes - 3> bytes{};
    const size_t count = std::min(payload.size(), bytes.size());
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = payload[i] & 0x7F;
    }
    AppendFrame(identifier, std::span<const uint8_t>(bytes.data(), count), out);
}

} // namespace zz
