// The display cycle: the changed groups of a snapshot reach the windows in a fixed order, each
// step clearing its flag in Snapshot once done.
#include "core/DisplayTexts.h"
#include "core/TKeptValues.h"
#include "monitor/TMonitorThread.h"

namespace zz {

void TMonitorThread::UpdateDisplays()
{
    TReceiverState& s = Snapshot;
    Display.BeginUpdate(s);

    if (s.TtffUpdated) {
        Display.SetInfoText(TInfoLabel::ttff, TtffText(s.Ttff).View());
        s.TtffUpdated = false;
    }
    if (s.CycleUpdated) {
        CyclePointPending = true;
        s.CycleUpdated = false;
    }
    if (s.PositionUpdated) {
        Display.SetInfoText(TInfoLabel::fix, FixText(s.FixQuality));
        DrOnlyCount = s.FixQuality == 6 ? DrOnlyCount + 1 : 0;
        Display.SetDrText(TDrLabel::rotcnt, DrCountText(DrOnlyCount).View());
        UpdatePosition();
        s.PositionUpdated = false;
    }
    if (s.DateTimeUpdated) {
        UpdateDateTime();
        s.DateTimeUpdated = false;
    }
    if (s.AltitudeUpdated) {
        Display.SetInfoText(TInfoLabel::usat, UsatText(s.SatellitesUsed).View());
        UpdateAltitude();
        s.AltitudeUpdated = false;
    }
    if (s.FixModeUpdated) {
        Display.SetInfoText(TInfoLabel::dim, DimText(s.FixMode));
        s.FixModeUpdated = false;
    }
    if (s.DopUpdated) {
        Display.SetInfoText(TInfoLabel::pdop, DopText(s.Pdop).View());
        Display.SetInfoText(TInfoLabel::hdop, DopText(s.Hdop).View());
        Display.SetInfoText(TInfoLabel::vdop, DopText(s.Vdop).View());
        s.DopUpdated = false;
    }
    if (s.VelocityUpdated) {
        UpdateCourse();
        s.VelocityUpdated = false;
    }
    if (s.SatellitesUpdated || s.WavSatellitesUpdated) {
        UpdateSatellites();
        s.SatellitesUpdated = false;
        s.WavSatellitesUpdated = false;
        s.UsedPrnUpdated = false;
    }
    if (s.RotUpdated) {
        const std::string_view status = RotStatusText(s.RotStatus);
        Display.SetInfoText(TInfoLabel::rot, status);
        Display.SetDrText(TDrLabel::rotst, status);
        Display.SetDrText(TDrLabel::rot, RateOfTurnText(s.RateOfTurn).View());
        s.RotUpdated = false;
    }
    if (s.AccuracyUpdated) {
        UpdateAccuracy();
        s.AccuracyUpdated = false;
    }
    if (s.VersionUpdated) {
        Display.SetInfoText(TInfoLabel::fver,
                            VersionText(s.ProgramVersion, Flags.ProtocolSelection.load()).View());
        s.VersionUpdated = false;
    }

    Display.EndUpdate();
}

void TMonitorThread::UpdatePosition()
{
    Display.SetInfoText(TInfoLabel::lat, LatitudeText(Snapshot.Latitude).View());
    Display.SetInfoText(TInfoLabel::lon, LongitudeText(Snapshot.Longitude).View());
    Display.PlotPosition(Snapshot);
}

void TMonitorThread::UpdateDateTime()
{
    const TReceiverState& s = Snapshot;
    Display.SetInfoText(TInfoLabel::utc,
                        DateTimeText(s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second).View());
}

void TMonitorThread::UpdateAltitude()
{
    Display.SetInfoText(TInfoLabel::alt, AltitudeText(Snapshot.Altitude).View());
    Display.PlotAltitude(Snapshot);
}

void TMonitorThread::UpdateCourse()
{
    const TReceiverState& s = Snapshot;
    Display.SetInfoText(TInfoLabel::vel, SpeedText(s.Speed).View());
    const TShortText course = CourseText(s.Course);
    Display.SetInfoText(TInfoLabel::dir, course.View());
    Display.SetInfoText(TInfoLabel::MT, MTText(s.Course, s.CourseReference));
    Display.SetDirection({course, MTLabelText(s.Course, s.CourseReference), ArrowAngle(s.Course)});
    Display.PlotCourse(s);
}

void TMonitorThread::UpdateSatellites()
{
    Display.ShowSatellites(Snapshot);
}

void TMonitorThread::UpdateAccuracy()
{
    Display.ShowAccuracy(Snapshot);
}

} // namespace zz
