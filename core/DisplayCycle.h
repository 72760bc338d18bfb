#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/DisplayTexts.h"
#include "core/NumberFormat.h"
#include "core/TReceiverState.h"

namespace zz {

// Value labels of the Information window.
enum class TInfoLabel
{
    utc,
    fix,
    dim,
    rot,
    usat,
    lat,
    lon,
    alt,
    vel,
    dir,
    MT,
    pdop,
    hdop,
    vdop,
    ttff,
    fver,
};
inline constexpr int kInfoLabelCount = 16;

// Value labels of the DR window.
enum class TDrLabel
{
    rot,
    rotst,
    rotcnt,
};
inline constexpr int kDrLabelCount = 3;

// The label's name ("utc", "MT", "rotcnt", ...).
std::string_view InfoLabelName(TInfoLabel label);
std::string_view DrLabelName(TDrLabel label);

// What the Direction window shows for one course update.
struct TDirectionView
{
    TShortText DirLabel;           // degrees with one decimal, or "--"
    std::string_view MTLabel;      // "True Track", "Magnetic Track" or empty
    std::optional<int> ArrowAngle; // no angle: the arrow is hidden
};

// The steps of a display cycle that draw rather than write a text.
enum class TDrawStep
{
    CycleEnd,   // a cycle of the receiver ended: the position plot takes its point
    Position,   // after the position texts
    Altitude,   // after the altitude texts
    Course,     // after the course texts and the Direction window
    Satellites, // the satellites in view (or the wav table) changed
    Accuracy,
};

// One display cycle over a snapshot: the groups whose updated flags are raised reach the sink
// in a fixed order (ttff; cycle end; fix, rotcnt, lat, lon, position; utc; usat, alt,
// altitude; dim; pdop, hdop, vdop; vel, dir, MT, direction, course; satellites; rot, rotst,
// rot; accuracy; fver). A position update counts drOnlyCount up for a "DR only" fix and resets
// it for any other. The snapshot is not changed: the caller clears the flags it has shown.
//
// The sink has Info(TInfoLabel, std::string_view), Dr(TDrLabel, std::string_view),
// Direction(const TDirectionView&) and Draw(TDrawStep). This is the one place that decides the
// cycle's order and texts, for the windows and for the headless decoder alike.
template <typename Sink>
void RunDisplaySteps(const TReceiverState& s, TProtocol protocol, uint32_t& drOnlyCount, Sink& sink)
{
    if (s.TtffUpdated) {
        sink.Info(TInfoLabel::ttff, TtffText(s.Ttff).View());
    }
    if (s.CycleUpdated) {
        sink.Draw(TDrawStep::CycleEnd);
    }
    if (s.PositionUpdated) {
        sink.Info(TInfoLabel::fix, FixText(s.FixQuality));
        drOnlyCount = IsDeadReckoningOnly(s.FixQuality) ? drOnlyCount + 1 : 0;
        sink.Dr(TDrLabel::rotcnt, DrCountText(drOnlyCount).View());
        sink.Info(TInfoLabel::lat, LatitudeText(s.Latitude).View());
        sink.Info(TInfoLabel::lon, LongitudeText(s.Longitude).View());
        sink.Draw(TDrawStep::Position);
    }
    if (s.DateTimeUpdated) {
        sink.Info(TInfoLabel::utc,
                  DateTimeText(s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second).View());
    }
    if (s.AltitudeUpdated) {
        sink.Info(TInfoLabel::usat, UsatText(s.SatellitesUsed).View());
        sink.Info(TInfoLabel::alt, AltitudeText(s.Altitude).View());
        sink.Draw(TDrawStep::Altitude);
    }
    if (s.FixModeUpdated) {
        sink.Info(TInfoLabel::dim, DimText(s.FixMode));
    }
    if (s.DopUpdated) {
        sink.Info(TInfoLabel::pdop, DopText(s.Pdop).View());
        sink.Info(TInfoLabel::hdop, DopText(s.Hdop).View());
        sink.Info(TInfoLabel::vdop, DopText(s.Vdop).View());
    }
    if (s.VelocityUpdated) {
        sink.Info(TInfoLabel::vel, SpeedText(s.Speed).View());
        const TShortText course = CourseText(s.Course);
        sink.Info(TInfoLabel::dir, course.View());
        sink.Info(TInfoLabel::MT, MTText(s.Course, s.CourseReference));
        sink.Direction(
            TDirectionView{course, MTLabelText(s.Course, s.CourseReference), ArrowAngle(s.Course)});
        sink.Draw(TDrawStep::Course);
    }
    if (s.SatellitesUpdated || s.WavSatellitesUpdated) {
        sink.Draw(TDrawStep::Satellites);
    }
    if (s.RotUpdated) {
        const std::string_view status = RotStatusText(s.RotStatus);
        sink.Info(TInfoLabel::rot, status);
        sink.Dr(TDrLabel::rotst, status);
        sink.Dr(TDrLabel::rot, RateOfTurnText(s.RateOfTurn).View());
    }
    if (s.AccuracyUpdated) {
        sink.Draw(TDrawStep::Accuracy);
    }
    if (s.VersionUpdated) {
        sink.Info(TInfoLabel::fver, VersionText(s.ProgramVersion, protocol).View());
    }
}

} // namespace zz
