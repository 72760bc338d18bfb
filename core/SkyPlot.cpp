#include "core/SkyPlot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zz {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// First slot of the SBAS part for a count of GPS entries, within 0..16.
int SbasStart(int32_t gpsCount)
{
    return static_cast<int>(std::clamp<int32_t>(gpsCount, 0, kSatSlots));
}

void AddMark(TSkyMarks& out, const TSkyPosition& position, int32_t prn, TSatClass satClass)
{
    if (out.Count >= out.Marks.size()) {
        return;
    }
    TSkyMark& mark = out.Marks[out.Count++];
    mark.X = position.X;
    mark.Y = position.Y;
    mark.Label.Clear();
    AppendZeroPadded(mark.Label, ShownPrn(prn), 1);
    mark.Colour = SatClassColour(satClass);
    mark.Kind = satClass.Kind;
}

} // namespace

TSkyPosition SkyPosition(int32_t elevation, int32_t azimuth)
{
    const double zenithDistance = 90.0 - elevation;
    const double angle = azimuth * kDegree;
    return {90.0 + zenithDistance * std::sin(angle), 90.0 + zenithDistance * std::cos(angle)};
}

bool SkyDrawable(int32_t elevation, int32_t azimuth)
{
    return elevation >= 0 && elevation <= 90 && azimuth >= 0 && azimuth <= 359;
}

void ComputeSkyMarks(const TReceiverState& state, TSkyMarks& out)
{
    out.Clear();
    for (int slot = 0; slot < kSatSlots; ++slot) {
        const int32_t prn = state.SatPrn[slot];
        const int32_t elevation = state.SatElevation[slot];
        const int32_t azimuth = state.SatAzimuth[slot];
        const std::optional<TSatClass> satClass =
            SatelliteClass(prn, state.SatCn0[slot], state.UsedPrn);
        if (!satClass || !SkyDrawable(elevation, azimuth)) {
            continue;
        }
        const TSkyPosition position = SkyPosition(elevation, azimuth);
        const int repeats =
            satClass->State == TSatState::Used ? UsedPrnMatches(prn, state.UsedPrn) : 1;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            AddMark(out, position, prn, *satClass);
        }
    }
}

void MergeSbasSatellites(TReceiverState& snapshot, int32_t& gpsSatCount, TSbasSaved& saved)
{
    if (snapshot.SatellitesUpdated) {
        gpsSatCount = snapshot.SatellitesInView;
    }
    if (snapshot.WavSatellitesUpdated) {
        const int start = SbasStart(gpsSatCount);
        for (int slot = start; slot < kSatSlots; ++slot) {
            const int position = slot - start;
            saved.Prn[position] = snapshot.SatPrn[slot];
            saved.Elevation[position] = snapshot.SatElevation[slot];
            saved.Azimuth[position] = snapshot.SatAzimuth[slot];
            saved.Cn0[position] = snapshot.SatCn0[slot];
        }
        saved.Valid = true;
    } else if (saved.Valid) {
        const int start = SbasStart(snapshot.SatellitesInView);
        for (int slot = start; slot < kSatSlots; ++slot) {
            const int position = slot - start;
            snapshot.SatPrn[slot] = saved.Prn[position];
            snapshot.SatElevation[slot] = saved.Elevation[position];
            snapshot.SatAzimuth[slot] = saved.Azimuth[position];
            snapshot.SatCn0[slot] = saved.Cn0[position];
        }
    }
}

} // namespace zz
