#include "ui/main/TQtDisplay.h"

#include "ui/main/TWindowQueue.h"
#include "ui/windows/TAltiPlot.h"
#include "ui/windows/TCN.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TLogForm.h"
#include "ui/windows/TPosPlot.h"
#include "ui/windows/TROTForm.h"
#include "ui/windows/TSky.h"
#include "ui/windows/TTtrack.h"
#include "ui/windows/TVeloPlot.h"

namespace zz {

TQtDisplay::TQtDisplay(TWindowQueue& queue, const TWindows& windows)
    : Queue(queue), Windows(windows)
{
}

void TQtDisplay::Post(std::function<void()> work)
{
    Queue.Post(std::move(work));
}

void TQtDisplay::AppendLogLine(std::string_view line)
{
    Windows.Log.AppendLogLine(line);
    if (AfterUpdate) {
        AfterUpdate();
    }
}

void TQtDisplay::SetInfoText(TInfoLabel label, std::string_view text)
{
    Windows.Info.SetText(label, text);
}

void TQtDisplay::SetDrText(TDrLabel label, std::string_view text)
{
    Windows.Rot.SetText(label, text);
}

void TQtDisplay::SetDirection(const TDirectionView& view)
{
    Windows.Ttrack.SetDirection(view);
}

void TQtDisplay::PlotPosition(const TReceiverState& snapshot, bool& cyclePointPending)
{
    Windows.PosPlot.UpdatePosition(snapshot, cyclePointPending);
}

void TQtDisplay::PlotAltitude(const TReceiverState& snapshot)
{
    Windows.AltiPlot.UpdatePlot(snapshot);
}

void TQtDisplay::PlotCourse(const TReceiverState& snapshot)
{
    Windows.VeloPlot.UpdatePlot(snapshot);
    Windows.PosPlot.UpdateCourse(snapshot);
}

void TQtDisplay::ShowSatellites(const TReceiverState& snapshot)
{
    // The signal level bars and grid first, then the sky marks of the same merged table.
    Windows.CN.UpdateSatellites(snapshot);
    Windows.Sky.UpdateSatellites(snapshot);
}

void TQtDisplay::ShowAccuracy(const TReceiverState& snapshot)
{
    Windows.CN.UpdateAccuracy(snapshot);
}

void TQtDisplay::EndUpdate()
{
    if (AfterUpdate) {
        AfterUpdate();
    }
}

} // namespace zz
