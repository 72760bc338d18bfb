#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <random>
#include <string>

#include "sim/TSimCommandReader.h"
#include "sim/TSimConstellation.h"
#include "sim/TSimEpoch.h"
#include "sim/TSimRoute.h"
#include "sim/TSimSettings.h"

namespace zz {

// GPS channels of the receiver: it reports at most this many satellites in view.
inline constexpr size_t kSimChannels = 16;
// Satellites the receiver uses in its solution at most.
inline constexpr int kSimMaxUsed = 12;
// Elevation mask, degrees.
inline constexpr double kSimElevationMask = 5.0;

// The simulated receiver without any I/O: it drives its route, watches the satellites, writes
// each cycle's sentences or frames, and lets them out at the pace of its line. Commands
// written to it restart it or change what it sends. Everything runs on the caller's clock.
class TSimReceiver
{
public:
    explicit TSimReceiver(const TSimSettings& settings);

    // Advances the receiver's clock by seconds and appends to out the bytes the line carried in
    // that time: never more than the baud rate allows, whole cycles as they fall due.
    void Step(double seconds, std::string& out);
    // Bytes written to the receiver.
    void HandleInput(const uint8_t* bytes, size_t count);

    double Clock() const { return SimClock; }
    const TSimSettings& Settings() const { return Setup; }
    // The cycle most recently written.
    const TSimEpoch& LastEpoch() const { return Epoch; }
    int Interval(TSimSentence sentence) const { return Intervals[static_cast<size_t>(sentence)]; }
    // Bytes written but not yet carried by the line.
    size_t PendingBytes() const { return PendingCount; }

    // Seconds from a restart of the given level (1 hot .. 5 everything cleared) to the fix, before
    // the settings' FixDelayScale.
    static double FixDelay(int level);
    // The most bytes one cycle of the protocol can take.
    static size_t LargestCycleBytes(TSimProtocol protocol);
    // Whether the largest cycle passes the line within one cycle period.
    static bool CycleFitsLine(const TSimSettings& settings);

private:
    void MakeEpoch(int64_t index, TSimEpoch& epoch);
    void TakeSky(const TGeodetic& place, double unixSeconds, double seconds, TSimEpoch& epoch);
    void QueueEpoch(const TSimEpoch& epoch);
    void QueueVersionReport();
    void Queue(std::string message);
    void Restart(int level);
    // Lets out what the line carries in seconds.
    void Send(double seconds, std::string& out);

    TSimSettings Setup;
    TSimRoute Route;
    TSimConstellation Constellation;
    TSimCommandReader Commands;
    std::mt19937_64 Random;
    std::normal_distribution<double> Normal{0.0, 1.0};

    double SimClock = 0.0;
    int64_t NextEpoch = 0;
    TSimEpoch Epoch;
    std::array<int, kSimSentenceCount> Intervals{};

    // After a restart: nothing in view before SearchingUntil, no fix before FixFrom.
    double SearchingUntil = -1.0;
    double FixFrom = -1.0;

    // Slowly wandering position and altitude errors, metres.
    double NoiseEastM = 0.0;
    double NoiseNorthM = 0.0;
    double NoiseUpM = 0.0;

    std::deque<std::string> Pending;
    size_t PendingCount = 0;
    size_t SentOfFront = 0;
    double LineCredit = 0.0;
};

} // namespace zz
