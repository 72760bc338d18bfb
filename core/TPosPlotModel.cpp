#include "core/TPosPlotModel.h"

#include <algorithm>
#include <cassert>

#include "core/DisplayTexts.h"

namespace zz {
namespace {

constexpr int32_t kDefaultRangeMetres = 10;
constexpr int32_t kFixNone = 0;

// Whether a pending cycle summary of this fix quality is plotted where the cycle put it; any
// other quality is plotted as "Other" at the previous current position.
bool PlottedAtCyclePoint(int32_t fixQuality)
{
    return fixQuality == 0 || fixQuality == 1 || fixQuality == 2 || fixQuality == 6;
}

} // namespace

TPosPlotModel::TPosPlotModel() : Track(kTrackCapacity)
{
}

const TTrackPoint& TPosPlotModel::TrackPoint(size_t index) const
{
    assert(index < TrackLength);
    return Track[(TrackFirst + index) % kTrackCapacity];
}

void TPosPlotModel::PushTrackPoint(const TTrackPoint& point)
{
    // The count cap deletes the oldest point before a new one can fill the ring.
    assert(TrackLength < kTrackCapacity);
    Track[(TrackFirst + TrackLength) % kTrackCapacity] = point;
    ++TrackLength;
}

void TPosPlotModel::RemoveOldestTrackPoint()
{
    if (TrackLength == 0) {
        return;
    }
    TrackFirst = (TrackFirst + 1) % kTrackCapacity;
    --TrackLength;
}

void TPosPlotModel::EmptyTrack()
{
    TrackFirst = 0;
    TrackLength = 0;
}

TPosPlotChange TPosPlotModel::UpdatePosition(const TReceiverState& snapshot,
                                             const TPosPlotControls& controls,
                                             std::atomic<int32_t>& recentreRequest,
                                             bool& cyclePointPending)
{
    TPosPlotChange change;
    MarkerPoint.reset();

    if (Plot.TrackCount >= static_cast<int32_t>(kTrackCapacity)) {
        change.OldestRemoved = TrackLength != 0;
        RemoveOldestTrackPoint();
        --Plot.TrackCount;
    }

    const bool currentUsable = IsPlottableCoordinate(snapshot.Latitude, snapshot.Longitude) &&
                               (snapshot.FixQuality != kFixNone || controls.Plotchk);
    const bool cycleUsable = IsPlottableCoordinate(snapshot.CycleLatitude, snapshot.CycleLongitude);

    if (!currentUsable) {
        // Without a position to show the scale stays; a cycle point may still join the track.
        if (Plot.TrackCount != 0 && cycleUsable) {
            AddTrackPoint(snapshot, controls.Plotchk, cyclePointPending, change);
        } else {
            cyclePointPending = false;
        }
        return change;
    }

    Plot.CurLonMin = DdmmToMinutes(snapshot.Longitude);
    Plot.CurLatMin = DdmmToMinutes(snapshot.Latitude);

    if (const std::optional<int32_t> typed = ParseRangeMetres(controls.LonR)) {
        Plot.RangeMetres = *typed;
    } else {
        if (Plot.PrevRangeMetres == 0) {
            Plot.PrevRangeMetres = kDefaultRangeMetres;
        }
        Plot.RangeMetres = Plot.PrevRangeMetres;
    }

    if (recentreRequest.load() != 0) {
        Plot.CentreLonMin = Plot.CurLonMin;
        Plot.CentreLatMin = Plot.CurLatMin;
        change.Recentred = true;
        change.LatCen = LatitudeFullText(snapshot.Latitude);
        change.LonCen = LongitudeText(snapshot.Longitude);
    }

    MarkerPoint = TTrackPoint{Plot.CurLonMin, Plot.CurLatMin, kCurrentPositionColour};

    const TMinuteScale scale = MinuteScaleAt(Plot.CentreLatMin);
    Plot.MetresPerLonMin = scale.MetresPerLonMin;
    Plot.MetresPerLatMin = scale.MetresPerLatMin;
    Plot.HalfLonMin = Plot.RangeMetres / Plot.MetresPerLonMin;
    Plot.HalfLatMin = Plot.RangeMetres / Plot.MetresPerLatMin;

    // In Run the request stays set, so the centre follows every usable position.
    if (controls.Mode != TPlotMode::Run) {
        recentreRequest.store(0);
    }

    if (Plot.TrackCount != 0 && cycleUsable) {
        AddTrackPoint(snapshot, controls.Plotchk, cyclePointPending, change);
        if (controls.Autochk) {
            GrowRange(change);
        }
    } else {
        if (Plot.TrackCount == 0) {
            Plot.TrackCount = 1;
        }
        cyclePointPending = false;
    }

    change.Rescaled = true;
    change.MaxLabel = RangeMaxText(Plot.RangeMetres);
    change.MinLabel = RangeMinText(Plot.RangeMetres);
    Plot.PrevRangeMetres = Plot.RangeMetres;

    change.LatAxisMin = Plot.CentreLatMin - Plot.HalfLatMin;
    change.LatAxisMax = Plot.CentreLatMin + Plot.HalfLatMin;
    change.LonAxisMin = Plot.CentreLonMin - Plot.HalfLonMin;
    change.LonAxisMax = Plot.CentreLonMin + Plot.HalfLonMin;

    Plot.PrevLonMin = Plot.CurLonMin;
    Plot.PrevLatMin = Plot.CurLatMin;
    return change;
}

void TPosPlotModel::AddTrackPoint(const TReceiverState& snapshot, bool plotNoFix,
                                  bool& cyclePointPending, TPosPlotChange& change)
{
    Plot.CycleLonMin = DdmmToMinutes(snapshot.CycleLongitude);
    Plot.CycleLatMin = DdmmToMinutes(snapshot.CycleLatitude);

    const int32_t quality = snapshot.CycleFixQuality;
    TTrackPoint point{Plot.PrevLonMin, Plot.PrevLatMin, TrackColour(TTrackClass::Other)};
    if (cyclePointPending && PlottedAtCyclePoint(quality)) {
        if (quality == kFixNone && !plotNoFix) {
            // Kept for a later update that may plot it.
            return;
        }
        point.LonMin = Plot.CycleLonMin;
        point.LatMin = Plot.CycleLatMin;
        point.Colour =
            TrackColour(CycleTrackClass(quality, snapshot.CycleFixMode, snapshot.CycleRotStatus));
    }
    PushTrackPoint(point);
    ++Plot.TrackCount;
    cyclePointPending = false;
    change.PointAdded = true;
}

void TPosPlotModel::GrowRange(TPosPlotChange& change)
{
    // The square must take in the whole track and the marker.
    double minLon = MarkerPoint->LonMin;
    double maxLon = minLon;
    double minLat = MarkerPoint->LatMin;
    double maxLat = minLat;
    for (size_t index = 0; index < TrackLength; ++index) {
        const TTrackPoint& point = TrackPoint(index);
        minLon = std::min(minLon, point.LonMin);
        maxLon = std::max(maxLon, point.LonMin);
        minLat = std::min(minLat, point.LatMin);
        maxLat = std::max(maxLat, point.LatMin);
    }

    change.LonR = Plot.RangeMetres;
    // Each side is checked against the square as the previous checks left it.
    const auto grow = [&](double difference, double limit, double metresPerMin) {
        if (difference > limit) {
            const int32_t range = GrownRangeMetres(difference, metresPerMin);
            change.LonR = range;
            Plot.HalfLonMin = range / Plot.MetresPerLonMin;
            Plot.HalfLatMin = range / Plot.MetresPerLatMin;
            Plot.RangeMetres = range;
        }
    };
    grow(maxLon - Plot.CentreLonMin, Plot.HalfLonMin, Plot.MetresPerLonMin);
    grow(maxLat - Plot.CentreLatMin, Plot.HalfLatMin, Plot.MetresPerLatMin);
    grow(Plot.CentreLonMin - minLon, Plot.HalfLonMin, Plot.MetresPerLonMin);
    grow(Plot.CentreLatMin - minLat, Plot.HalfLatMin, Plot.MetresPerLatMin);
}

void TPosPlotModel::UpdateCourse(double course)
{
    Heading = ArrowAngle(course);
}

void TPosPlotModel::ResetDisplay(std::atomic<int32_t>& recentreRequest)
{
    ClearDisplay();
    recentreRequest.store(1);
}

void TPosPlotModel::ClearDisplay()
{
    EmptyTrack();
    MarkerPoint.reset();
    Heading.reset();
    Plot.TrackCount = 0;
}

} // namespace zz
