#pragma once

#include <functional>
#include <optional>
#include <string_view>

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

// Value labels of the DR window.
enum class TDrLabel
{
    rot,
    rotst,
    rotcnt,
};

// What the Direction window shows for one course update.
struct TDirectionView
{
    TShortText DirLabel;          // degrees with one decimal, or "--"
    std::string_view MTLabel;     // "True Track", "Magnetic Track" or empty
    std::optional<int> ArrowAngle; // no angle: the arrow is hidden
};

// The windows as the monitor sees them. The window layer implements it (the GUI, or the
// console of the headless monitor). Post is the only call made from the monitor thread; every
// other call is made on the window thread, inside work given to Post.
class TDisplay
{
public:
    virtual ~TDisplay() = default;

    // Queues work to run on the window thread and returns at once.
    virtual void Post(std::function<void()> work) = 0;

    // A received line for the Log window.
    virtual void AppendLogLine(std::string_view line) = 0;
    virtual void SetInfoText(TInfoLabel label, std::string_view text) = 0;
    virtual void SetDrText(TDrLabel label, std::string_view text) = 0;
    virtual void SetDirection(const TDirectionView& view) = 0;

    // A display cycle starts for this snapshot (flags as taken) and ends.
    virtual void BeginUpdate(const TReceiverState& snapshot);
    virtual void EndUpdate();

    // The plot and satellite parts of the update steps, for the windows that draw them.
    virtual void PlotPosition(const TReceiverState& snapshot);
    virtual void PlotAltitude(const TReceiverState& snapshot);
    virtual void PlotCourse(const TReceiverState& snapshot);
    virtual void ShowSatellites(const TReceiverState& snapshot);
    virtual void ShowAccuracy(const TReceiverState& snapshot);
};

} // namespace zz
