#include "sim/TSimReceiver.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "sim/SimFrames.h"
#include "sim/SimSentences.h"

namespace zz {
namespace {

constexpr double kNoiseSigmaHorizontalM = 1.5;
constexpr double kNoiseSigmaVerticalM = 3.0;
constexpr double kNoiseCorrelationSeconds = 30.0;
constexpr double kGeoidSeparationM = 47.3;
constexpr double kEarthRadius = 6'371'000.0;
constexpr double kFixDelays[5] = {2.0, 4.0, 6.0, 9.0, 12.0};
// From this restart level on, the receiver has forgotten where the satellites are and first
// sees none for a while.
constexpr int kColdLevel = 3;
constexpr double kSearchingShare = 0.4;
// Share of binary cycles that carry one of the undecoded frames.
constexpr double kUndecodedFrameShare = 0.2;
constexpr size_t kMaxUndecodedPayload = 20;

constexpr int64_t kCentisecondsPerDay = 24 * 60 * 60 * 100;

// Carrier-to-noise density of a satellite at an elevation, dB-Hz: weak near the horizon.
double Cn0At(double elevationDeg)
{
    return 30.0 + 20.0 * std::sin(elevationDeg / kDegrees);
}

int WholeDegrees(double degrees)
{
    return static_cast<int>(std::lround(degrees));
}

int WholeAzimuth(double degrees)
{
    return static_cast<int>(std::lround(degrees)) % 360;
}

} // namespace

TSimReceiver::TSimReceiver(const TSimSettings& settings)
    : Setup(settings),
      Route(settings.StartLatitudeDeg, settings.StartLongitudeDeg, settings.SpeedKmh),
      Constellation(settings.StartLongitudeDeg), Random(settings.Seed)
{
    Intervals.fill(1);
    QueueVersionReport();
}

double TSimReceiver::FixDelay(int level)
{
    return kFixDelays[std::clamp(level, 1, 5) - 1];
}

void TSimReceiver::Step(double seconds, std::string& out)
{
    const double end = SimClock + std::max(seconds, 0.0);
    for (;;) {
        const double due = static_cast<double>(NextEpoch) / Setup.RateHz;
        if (due <= SimClock) {
            MakeEpoch(NextEpoch++, Epoch);
            QueueEpoch(Epoch);
            continue;
        }
        const double until = std::min(end, due);
        Send(until - SimClock, out);
        SimClock = until;
        if (until >= end) {
            break;
        }
    }
}

void TSimReceiver::HandleInput(const uint8_t* bytes, size_t count)
{
    TSimCommand command;
    for (size_t i = 0; i < count; ++i) {
        if (!Commands.Feed(bytes[i], command)) {
            continue;
        }
        if (command.Kind == TSimCommandKind::Restart) {
            Restart(command.Level);
        } else {
            Intervals[static_cast<size_t>(command.Sentence)] = command.Interval;
        }
    }
}

void TSimReceiver::Restart(int level)
{
    // What was waiting for the line is lost, except the message already on its way.
    const bool frontStarted = SentOfFront > 0;
    while (Pending.size() > (frontStarted ? 1U : 0U)) {
        PendingCount -= Pending.back().size();
        Pending.pop_back();
    }
    QueueVersionReport();
    const double delay = FixDelay(level) * Setup.FixDelayScale;
    FixFrom = SimClock + delay;
    SearchingUntil = level >= kColdLevel ? SimClock + delay * kSearchingShare : SimClock;
}

void TSimReceiver::MakeEpoch(int64_t index, TSimEpoch& epoch)
{
    const double seconds = static_cast<double>(index) / Setup.RateHz;
    epoch = TSimEpoch{};
    epoch.Index = index;

    const int64_t centiseconds = Setup.StartUnixSeconds * 100 + std::llround(seconds * 100.0);
    int64_t days = centiseconds / kCentisecondsPerDay;
    int64_t ofDay = centiseconds % kCentisecondsPerDay;
    if (ofDay < 0) {
        ofDay += kCentisecondsPerDay;
        --days;
    }
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{static_cast<int>(days)}}};
    epoch.Year = static_cast<int>(date.year());
    epoch.Month = static_cast<int>(static_cast<unsigned>(date.month()));
    epoch.Day = static_cast<int>(static_cast<unsigned>(date.day()));
    epoch.Hour = static_cast<int>(ofDay / 360'000);
    epoch.Minute = static_cast<int>(ofDay / 6'000 % 60);
    epoch.Centiseconds = static_cast<int>(ofDay % 6'000);

    // Measurement errors wander slowly, as a receiver's do.
    const double keep = std::exp(-1.0 / (Setup.RateHz * kNoiseCorrelationSeconds));
    const double fresh = std::sqrt(1.0 - keep * keep);
    NoiseEastM = keep * NoiseEastM + fresh * kNoiseSigmaHorizontalM * Normal(Random);
    NoiseNorthM = keep * NoiseNorthM + fresh * kNoiseSigmaHorizontalM * Normal(Random);
    NoiseUpM = keep * NoiseUpM + fresh * kNoiseSigmaVerticalM * Normal(Random);

    const TSimRoutePoint point = Route.At(seconds);
    const double latitude = point.LatitudeDeg + NoiseNorthM / kEarthRadius * kDegrees;
    const double longitude =
        point.LongitudeDeg +
        NoiseEastM / (kEarthRadius * std::cos(point.LatitudeDeg / kDegrees)) * kDegrees;
    const TGeodetic place{latitude, longitude, Setup.AltitudeM};
    TakeSky(place, static_cast<double>(Setup.StartUnixSeconds) + seconds, seconds, epoch);

    epoch.LatitudeDeg = latitude;
    epoch.LongitudeDeg = longitude;
    epoch.AltitudeM = Setup.AltitudeM + NoiseUpM;
    epoch.GeoidSeparationM = kGeoidSeparationM;
    const bool moving = point.SpeedKmh > 0.0;
    epoch.SpeedKmh = moving ? std::max(0.0, point.SpeedKmh + 0.15 * Normal(Random)) : 0.0;
    double course = moving ? point.CourseDeg + 0.3 * Normal(Random) : point.CourseDeg;
    course = std::fmod(course + 360.0, 360.0);
    epoch.CourseDeg = course;
    epoch.RateOfTurnDegMin = point.RateOfTurnDegMin;
}

// The satellites seen from place: the highest kSimChannels GPS satellites above the mask, the
// highest kSimMaxUsed of them used, the DOPs of those, and the SBAS satellites.
void TSimReceiver::TakeSky(const TGeodetic& place, double unixSeconds, double seconds,
                           TSimEpoch& epoch)
{
    std::array<TSimSkyPosition, kSimGpsSatellites> visible{};
    size_t count = Constellation.VisibleGps(place, unixSeconds, kSimElevationMask, visible);
    std::array<TSimSkyPosition, kSimSbasSatellites> sbas{};
    size_t sbasCount = Constellation.VisibleSbas(place, kSimElevationMask, sbas);
    if (seconds < SearchingUntil) {
        count = 0;
        sbasCount = 0;
    }
    auto higher = [](const TSimSkyPosition& a, const TSimSkyPosition& b) {
        return a.Angles.ElevationDeg > b.Angles.ElevationDeg;
    };
    std::sort(visible.begin(), visible.begin() + static_cast<std::ptrdiff_t>(count), higher);
    count = std::min(count, kSimChannels);

    const bool solving = seconds >= FixFrom;
    const size_t used = solving ? std::min<size_t>(count, kSimMaxUsed) : 0;
    std::array<TLookAngles, kSimMaxUsed> usedAngles{};
    for (size_t i = 0; i < used; ++i) {
        usedAngles[i] = visible[i].Angles;
    }
    const auto dops = ComputeDops(std::span<const TLookAngles>(usedAngles.data(), used));
    epoch.Fix = dops.has_value();
    epoch.ThreeDimensional = epoch.Fix;
    if (dops) {
        epoch.Pdop = dops->Pdop;
        epoch.Hdop = dops->Hdop;
        epoch.Vdop = dops->Vdop;
        epoch.SatellitesUsed = static_cast<int>(used);
    }

    std::uniform_int_distribution<int> accuracyJitter(0, 1);
    for (size_t i = 0; i < count; ++i) {
        const TLookAngles& angles = visible[i].Angles;
        TSimSatelliteReport& report = epoch.Satellites[i];
        report.Prn = visible[i].Prn;
        report.Elevation = std::clamp(WholeDegrees(angles.ElevationDeg), 0, 90);
        report.Azimuth = WholeAzimuth(angles.AzimuthDeg);
        report.Cn0 = std::clamp(WholeDegrees(Cn0At(angles.ElevationDeg) + Normal(Random)), 0, 99);
        report.Used = epoch.Fix && i < used;
        report.Accuracy = std::clamp(
            static_cast<int>((90.0 - angles.ElevationDeg) / 12.0) + accuracyJitter(Random), 0, 15);
    }
    std::sort(
        epoch.Satellites.begin(), epoch.Satellites.begin() + static_cast<std::ptrdiff_t>(count),
        [](const TSimSatelliteReport& a, const TSimSatelliteReport& b) { return a.Prn < b.Prn; });
    epoch.SatelliteCount = count;

    for (size_t i = 0; i < sbasCount; ++i) {
        TSimSatelliteReport& report = epoch.Sbas[i];
        report.Prn = sbas[i].Prn;
        report.Elevation = std::clamp(WholeDegrees(sbas[i].Angles.ElevationDeg), 0, 90);
        report.Azimuth = WholeAzimuth(sbas[i].Angles.AzimuthDeg);
        report.Cn0 = std::clamp(
            WholeDegrees(Cn0At(sbas[i].Angles.ElevationDeg) - 3.0 + Normal(Random)), 0, 99);
    }
    epoch.SbasCount = sbasCount;
}

void TSimReceiver::QueueEpoch(const TSimEpoch& epoch)
{
    // A receiver whose line has not yet carried the previous cycle drops this one.
    const double bytesPerCycle = Setup.BaudRate / 10.0 / Setup.RateHz;
    if (static_cast<double>(PendingCount) > bytesPerCycle) {
        return;
    }
    if (Setup.Protocol == TSimProtocol::Binary) {
        std::string cycle;
        AppendPositionFrame(epoch, cycle);
        AppendDateTimeFrame(epoch, cycle);
        AppendSatelliteFrame(epoch, cycle);
        AppendDopFrame(epoch, cycle);
        if (std::uniform_real_distribution<double>(0.0, 1.0)(Random) < kUndecodedFrameShare) {
            std::uniform_int_distribution<size_t> pick(0, std::size(kUndecodedFrames) - 1);
            std::uniform_int_distribution<size_t> length(1, kMaxUndecodedPayload);
            std::uniform_int_distribution<int> byte(0, 0x7F);
            std::array<uint8_t, kMaxUndecodedPayload> payload{};
            const size_t size = length(Random);
            for (size_t i = 0; i < size; ++i) {
                payload[i] = static_cast<uint8_t>(byte(Random));
            }
            AppendUndecodedFrame(kUndecodedFrames[pick(Random)],
                                 std::span<const uint8_t>(payload.data(), size), cycle);
        }
        Queue(std::move(cycle));
        return;
    }

    using TAppend = void (*)(const TSimEpoch&, std::string&);
    constexpr TAppend kStandard[kSimSentenceCount] = {AppendGGA, AppendGLL, AppendGSA, AppendGSV,
                                                      AppendRMC, AppendVTG, AppendZDA, AppendROT};
    for (size_t i = 0; i < kSimSentenceCount; ++i) {
        if (Intervals[i] > 0 && epoch.Index % Intervals[i] == 0) {
            std::string sentence;
            kStandard[i](epoch, sentence);
            Queue(std::move(sentence));
        }
    }
    std::string accuracy;
    AppendGPacc(epoch, accuracy);
    Queue(std::move(accuracy));
    std::string sbas;
    AppendGPwav(epoch, sbas);
    Queue(std::move(sbas));
}

void TSimReceiver::QueueVersionReport()
{
    std::string report;
    if (Setup.Protocol == TSimProtocol::Binary) {
        AppendVersionFrame(report);
    } else {
        AppendGPtst(report);
    }
    Queue(std::move(report));
}

void TSimReceiver::Queue(std::string message)
{
    PendingCount += message.size();
    Pending.push_back(std::move(message));
}

void TSimReceiver::Send(double seconds, std::string& out)
{
    LineCredit += seconds * Setup.BaudRate / 10.0;
    while (LineCredit >= 1.0 && !Pending.empty()) {
        const std::string& front = Pending.front();
        const size_t room = static_cast<size_t>(LineCredit);
        const size_t count = std::min(room, front.size() - SentOfFront);
        out.append(front, SentOfFront, count);
        SentOfFront += count;
        PendingCount -= count;
        LineCredit -= static_cast<double>(count);
        if (SentOfFront == front.size()) {
            Pending.pop_front();
            SentOfFront = 0;
        }
    }
    // An idle line saves nothing up for later.
    if (Pending.empty()) {
        LineCredit = std::min(LineCredit, 1.0);
    }
}

size_t TSimReceiver::LargestCycleBytes(TSimProtocol protocol)
{
    TSimEpoch epoch;
    epoch.Year = 2099;
    epoch.Month = 12;
    epoch.Day = 31;
    epoch.Hour = 23;
    epoch.Minute = 59;
    epoch.Centiseconds = 5999;
    epoch.Fix = true;
    epoch.ThreeDimensional = true;
    epoch.LatitudeDeg = -89.999;
    epoch.LongitudeDeg = -179.999;
    epoch.AltitudeM = -9999.9;
    epoch.GeoidSeparationM = -99.9;
    epoch.SpeedKmh = 999.99;
    epoch.CourseDeg = 359.9;
    epoch.RateOfTurnDegMin = -9999.9;
    epoch.SatellitesUsed = kSimMaxUsed;
    epoch.Pdop = epoch.Hdop = epoch.Vdop = 99.99;
    for (size_t i = 0; i < kSimChannels; ++i) {
        epoch.Satellites[i] = {32, 90, 359, 99, i < static_cast<size_t>(kSimMaxUsed), 15};
    }
    epoch.SatelliteCount = kSimChannels;
    for (size_t i = 0; i < kSimSbasSatellites; ++i) {
        epoch.Sbas[i] = {138, 90, 359, 99, false, 0};
    }
    epoch.SbasCount = kSimSbasSatellites;

    std::string cycle;
    if (protocol == TSimProtocol::Binary) {
        AppendPositionFrame(epoch, cycle);
        AppendDateTimeFrame(epoch, cycle);
        AppendSatelliteFrame(epoch, cycle);
        AppendDopFrame(epoch, cycle);
        const std::array<uint8_t, kMaxUndecodedPayload> payload{};
        AppendUndecodedFrame(kUndecodedFrames[0], payload, cycle);
    } else {
        AppendGGA(epoch, cycle);
        AppendGLL(epoch, cycle);
        AppendGSA(epoch, cycle);
        AppendGSV(epoch, cycle);
        AppendRMC(epoch, cycle);
        AppendVTG(epoch, cycle);
        AppendZDA(epoch, cycle);
        AppendROT(epoch, cycle);
        AppendGPacc(epoch, cycle);
        AppendGPwav(epoch, cycle);
    }
    return cycle.size();
}

bool TSimReceiver::CycleFitsLine(const TSimSettings& settings)
{
    const double lineSeconds =
        static_cast<double>(LargestCycleBytes(settings.Protocol)) * 10.0 / settings.BaudRate;
    return lineSeconds <= 1.0 / settings.RateHz;
}

} // namespace zz
