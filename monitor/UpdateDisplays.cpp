// The display cycle: the changed groups of a snapshot reach the windows in the order of
// RunDisplaySteps; the flags of the groups shown are cleared in Snapshot afterwards.
#include "core/DisplayCycle.h"
#include "monitor/TMonitorThread.h"

namespace zz {
namespace {

// Hands each step of the cycle to the display; the plot steps get the whole snapshot.
struct TDisplaySink
{
    TDisplay& Display;
    TReceiverState& Snapshot;
    bool& CyclePointPending;
    std::atomic<int32_t>& GpsSatCount;
    TSbasSaved& SbasSaved;

    void Info(TInfoLabel label, std::string_view text) { Display.SetInfoText(label, text); }
    void Dr(TDrLabel label, std::string_view text) { Display.SetDrText(label, text); }
    void Direction(const TDirectionView& view) { Display.SetDirection(view); }
    void Draw(TDrawStep step)
    {
        switch (step) {
        case TDrawStep::CycleEnd:
            CyclePointPending = true;
            break;
        case TDrawStep::Position:
            Display.PlotPosition(Snapshot, CyclePointPending);
            break;
        case TDrawStep::Altitude:
            Display.PlotAltitude(Snapshot);
            break;
        case TDrawStep::Course:
            Display.PlotCourse(Snapshot);
            break;
        case TDrawStep::Satellites: {
            // The windows see the table with the remembered SBAS entries put back behind the
            // GPS ones.
            int32_t gpsSatCount = GpsSatCount.load();
            MergeSbasSatellites(Snapshot, gpsSatCount, SbasSaved);
            GpsSatCount.store(gpsSatCount);
            Display.ShowSatellites(Snapshot);
            break;
        }
        case TDrawStep::Accuracy:
            Display.ShowAccuracy(Snapshot);
            break;
        }
    }
};

void ClearShownFlags(TReceiverState& s)
{
    s.TtffUpdated = false;
    s.CycleUpdated = false;
    s.PositionUpdated = false;
    s.DateTimeUpdated = false;
    s.AltitudeUpdated = false;
    s.FixModeUpdated = false;
    s.DopUpdated = false;
    s.VelocityUpdated = false;
    if (s.SatellitesUpdated || s.WavSatellitesUpdated) {
        s.SatellitesUpdated = false;
        s.WavSatellitesUpdated = false;
        s.UsedPrnUpdated = false;
    }
    s.RotUpdated = false;
    s.AccuracyUpdated = false;
    s.VersionUpdated = false;
}

} // namespace

void TMonitorThread::UpdateDisplays()
{
    Display.BeginUpdate(Snapshot);
    TDisplaySink sink{Display, Snapshot, CyclePointPending, Flags.GpsSatCount, SbasSaved};
    RunDisplaySteps(Snapshot, Flags.ProtocolSelection.load(), DrOnlyCount, sink);
    ClearShownFlags(Snapshot);
    Display.EndUpdate();
}

} // namespace zz
