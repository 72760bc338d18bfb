#pragma once

#include <QRect>
#include <array>

namespace zz {

// The display windows, in the order the default layout places them.
enum class TChildWindowId
{
    Information,
    PositionPlot,
    SkyPlot,
    AltitudePlot,
    VelocityPlot,
    Direction,
    SignalLevel,
    Log,
    DR,
};
inline constexpr int kChildWindowCount = 9;

// One row of the default layout: outer bounds in the work area and whether the window shows.
struct TDefaultBounds
{
    TChildWindowId Window;
    QRect Bounds;
    bool Shown;
};

// The signal level window takes the direction window's height, whatever its width rule made
// of it; the 321 here is what that rule gives at the direction window's default width.
inline constexpr std::array<TDefaultBounds, kChildWindowCount> kDefaultLayout = {{
    {TChildWindowId::Information, {0, 0, 243, 355}, true},
    {TChildWindowId::PositionPlot, {243, 0, 355, 355}, true},
    {TChildWindowId::SkyPlot, {0, 355, 254, 321}, true},
    {TChildWindowId::AltitudePlot, {598, 0, 207, 355}, true},
    {TChildWindowId::VelocityPlot, {805, 0, 207, 355}, true},
    {TChildWindowId::Direction, {750, 355, 262, 321}, true},
    {TChildWindowId::SignalLevel, {254, 355, 496, 321}, true},
    {TChildWindowId::Log, {253, 229, 500, 250}, false},
    {TChildWindowId::DR, {400, 300, 207, 95}, false},
}};

// Where a row puts its window: the signal level window as tall as the direction window is.
inline QRect PlacedBounds(const TDefaultBounds& row, int directionHeight)
{
    QRect bounds = row.Bounds;
    if (row.Window == TChildWindowId::SignalLevel) {
        bounds.setHeight(directionHeight);
    }
    return bounds;
}

// The order in which "Show all window" shows the windows; the last two are brought to the front.
inline constexpr std::array<TChildWindowId, kChildWindowCount> kShowAllOrder = {
    TChildWindowId::Information, TChildWindowId::PositionPlot, TChildWindowId::SkyPlot,
    TChildWindowId::SignalLevel, TChildWindowId::AltitudePlot, TChildWindowId::VelocityPlot,
    TChildWindowId::Direction,   TChildWindowId::Log,          TChildWindowId::DR,
};

// The default bounds of a window.
constexpr const TDefaultBounds& DefaultBounds(TChildWindowId window)
{
    for (const TDefaultBounds& row : kDefaultLayout) {
        if (row.Window == window) {
            return row;
        }
    }
    return kDefaultLayout[0];
}

} // namespace zz
