#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/NumberFormat.h"
#include "core/PositionPlot.h"
#include "core/TReceiverState.h"

namespace zz {

// The scale and positions of the position plot between updates. Plot coordinates are minutes
// of arc; ranges are metres.
struct TPosPlotState
{
    int32_t RangeMetres = 0;     // half-width of the square at this update
    int32_t PrevRangeMetres = 0; // range of the previous update; fallback for an unusable edit
    double MetresPerLonMin = 0.0;
    double MetresPerLatMin = 0.0;
    double HalfLonMin = 0.0;
    double HalfLatMin = 0.0;
    double CentreLonMin = 0.0;
    double CentreLatMin = 0.0;
    double CurLonMin = 0.0;
    double CurLatMin = 0.0;
    double PrevLonMin = 0.0; // current position of the previous plotted update
    double PrevLatMin = 0.0;
    double CycleLonMin = 0.0; // cycle point being plotted
    double CycleLatMin = 0.0;
    // 0 after a reset, 1 after the first update, then one more than the track points held.
    int32_t TrackCount = 0;
};

// Plot Mode: the centre follows the current position (Run) or stays (Fix).
enum class TPlotMode
{
    Run,
    Fix,
};

// The settings of the window's controls that an update reads.
struct TPosPlotControls
{
    std::string_view LonR; // text of the range edit
    bool Autochk = true;   // grow the range automatically
    bool Plotchk = false;  // plot positions without a fix
    TPlotMode Mode = TPlotMode::Run;
};

// One point of the track or the marker: minutes of longitude and latitude and a 0xRRGGBB colour.
struct TTrackPoint
{
    double LonMin = 0.0;
    double LatMin = 0.0;
    uint32_t Colour = 0;

    bool operator==(const TTrackPoint&) const = default;
};

// What one position update changed, for the window to mirror.
struct TPosPlotChange
{
    // The oldest track point went; a point was added at the newest end (NewestTrackPoint).
    bool OldestRemoved = false;
    bool PointAdded = false;
    // The centre moved to the current position: new texts for LonCen and LatCen.
    bool Recentred = false;
    TShortText LonCen;
    TShortText LatCen;
    // The automatic range wrote the range edit.
    std::optional<int32_t> LonR;
    // The scale was worked out: new scale labels and axis limits (minutes).
    bool Rescaled = false;
    TShortText MaxLabel; // LonMaxM and LatMaxM
    TShortText MinLabel; // LonMinM and LatMinM
    double LonAxisMin = 0.0;
    double LonAxisMax = 0.0;
    double LatAxisMin = 0.0;
    double LatAxisMax = 0.0;
};

// The position plot without its widgets: the scale state, the track (a ring of at most
// kTrackCapacity points, oldest first), the current-position marker and the heading mark.
// It follows the position and course updates of the display cycle and the two resets.
class TPosPlotModel
{
public:
    static constexpr size_t kTrackCapacity = 3600;

    TPosPlotModel();

    // The plot part of a position update: the current position moves the marker, the centre
    // (while recentreRequest is set) and the scale; the cycle summary, while cyclePointPending
    // is set, adds one coloured track point. Clears recentreRequest in Fix mode and
    // cyclePointPending once the point is plotted or cannot be.
    TPosPlotChange UpdatePosition(const TReceiverState& snapshot, const TPosPlotControls& controls,
                                  std::atomic<int32_t>& recentreRequest, bool& cyclePointPending);
    // The heading mark part of a course update: shown at 180 minus the whole degrees of a course
    // of 0 to 359.9, hidden otherwise.
    void UpdateCourse(double course);

    // Both empty the track and the marker, hide the heading mark and zero TrackCount; the full
    // reset also asks the next update to recentre. Scale and centre stay.
    void ResetDisplay(std::atomic<int32_t>& recentreRequest);
    void ClearDisplay();

    const TPosPlotState& State() const { return Plot; }
    int32_t TrackCount() const { return Plot.TrackCount; }
    size_t TrackSize() const { return TrackLength; }
    // Point i of the track, 0 being the oldest.
    const TTrackPoint& TrackPoint(size_t index) const;
    const TTrackPoint& NewestTrackPoint() const { return TrackPoint(TrackLength - 1); }
    const std::optional<TTrackPoint>& Marker() const { return MarkerPoint; }
    // Angle of the heading mark in degrees, counter-clockwise; nothing while it is hidden.
    std::optional<int> HeadingAngle() const { return Heading; }

private:
    void AddTrackPoint(const TReceiverState& snapshot, bool plotNoFix, bool& cyclePointPending,
                       TPosPlotChange& change);
    void PushTrackPoint(const TTrackPoint& point);
    void RemoveOldestTrackPoint();
    void EmptyTrack();
    void GrowRange(TPosPlotChange& change);

    TPosPlotState Plot;
    std::vector<TTrackPoint> Track; // ring of kTrackCapacity slots, allocated once
    size_t TrackFirst = 0;
    size_t TrackLength = 0;
    std::optional<TTrackPoint> MarkerPoint;
    std::optional<int> Heading;
};

} // namespace zz
