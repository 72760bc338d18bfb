#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/NumberFormat.h"

namespace zz {

// Which value a time plot shows: the altitude in metres or the speed in km/h.
enum class TTimePlotKind
{
    Altitude,
    Velocity,
};

// The two halves of an up/down control.
enum class TUpDownButton
{
    Up,
    Down,
};

// One plotted sample: its sample count and its value.
struct TTimePoint
{
    int32_t X = 0;
    double Y = 0.0;
};

// The horizontal (time) axis: Min..Max, or, with AutomaticMaximum, Min up to the largest x of
// the series (Max is then what a series without a larger x shows).
struct TTimeAxis
{
    int32_t Min = 0;
    int32_t Max = 0;
    bool AutomaticMaximum = true;

    bool operator==(const TTimeAxis&) const = default;
};

// The vertical (value) axis, whole units from Min to Max.
struct TValueAxis
{
    int32_t Min = 0;
    int32_t Max = 10;

    bool operator==(const TValueAxis&) const = default;
};

// A scale edit's text as an integer: an optional sign and at least one digit, nothing else.
std::optional<int32_t> ParseScaleEdit(std::string_view text);

// The new MinEdit text after a click on UpDown1, or nothing when the click changes nothing.
std::optional<TShortText> UpDown1Click(TTimePlotKind kind, TUpDownButton button,
                                       std::string_view minEdit, std::string_view maxEdit);
// The new MaxEdit text after a click on UpDown2, or nothing when the click changes nothing.
std::optional<TShortText> UpDown2Click(TTimePlotKind kind, TUpDownButton button,
                                       std::string_view minEdit, std::string_view maxEdit);

// The altitude or velocity plot without its widgets: the last 600 samples against their sample
// count, the scrolling time axis, the value axis with its two scale edits and "Auto", and the
// clear rules that drop points from before a reset.
class TTimePlotModel
{
public:
    static constexpr int32_t kCapacity = 600;

    explicit TTimePlotModel(TTimePlotKind kind);

    // One sample of the display cycle: x the sample count, y the value. clearPending is this
    // plot's "still to be cleared after a reset" flag, which the step may clear;
    // plotClearRequest tells whether the protocol thread has yet to restart the counters.
    void Plot(int32_t x, double y, std::atomic<uint8_t>& clearPending,
              const std::atomic<int32_t>& plotClearRequest);

    // Full reset: no points, time axis from 0 with an automatic maximum, value axis 0..10 with
    // its edits "0" and "10", "Auto" ticked.
    void ResetDisplay();
    // Clear: no points, time axis from 0 with an automatic maximum; the scale stays.
    void ClearDisplay();
    // The protocol thread restarted the sample counters: no points.
    void ClearSeries();

    // The scale controls, as the user left them; the plot step and the resets change them.
    void SetMinEdit(std::string_view text) { MinText = TShortText(text); }
    void SetMaxEdit(std::string_view text) { MaxText = TShortText(text); }
    void SetAutochk(bool ticked) { AutoTicked = ticked; }
    std::string_view MinEdit() const { return MinText.View(); }
    std::string_view MaxEdit() const { return MaxText.View(); }
    bool Autochk() const { return AutoTicked; }

    TTimePlotKind Kind() const { return PlotKind; }
    int32_t PointCount() const { return Count; }
    // Point index, 0 being the oldest.
    const TTimePoint& Point(int32_t index) const;
    const TTimeAxis& TimeAxis() const { return Time; }
    const TValueAxis& ValueAxis() const { return Value; }
    int32_t LastValidMin() const { return ValidMin; }
    int32_t LastValidMax() const { return ValidMax; }

private:
    bool Accepts(double y) const;
    void AddPoint(int32_t x, double y);
    void RemoveOldest();
    void GrowScale();
    void TakeScaleEdits();

    TTimePlotKind PlotKind;
    std::array<TTimePoint, kCapacity> Points{};
    int32_t First = 0;
    int32_t Count = 0;
    TTimeAxis Time;
    TValueAxis Value;
    int32_t ValidMin = 0;
    int32_t ValidMax = 0;
    TShortText MinText{"0"};
    TShortText MaxText{"10"};
    bool AutoTicked = true;
};

} // namespace zz
