#include "core/TTimePlotModel.h"

#include <algorithm>
#include <cmath>

namespace zz {
namespace {

// The largest and smallest values a 7-character edit can show, recognised by their text.
constexpr std::string_view kLargestEdit = "9999999";
constexpr std::string_view kSmallestEdit = "-999999";
// More digits than any int32 has: such a text is not taken as a number.
constexpr size_t kMostDigits = 10;

TShortText IntegerText(int64_t value)
{
    TShortText text;
    AppendZeroPadded(text, value, 1);
    return text;
}

// Both edits as integers, or nothing when either is not one.
struct TScalePair
{
    int64_t Min;
    int64_t Max;
};

std::optional<TScalePair> ParsePair(std::string_view minEdit, std::string_view maxEdit)
{
    const std::optional<int32_t> min = ParseScaleEdit(minEdit);
    const std::optional<int32_t> max = ParseScaleEdit(maxEdit);
    if (!min || !max) {
        return std::nullopt;
    }
    return TScalePair{*min, *max};
}

} // namespace

std::optional<int32_t> ParseScaleEdit(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > kMostDigits) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

std::optional<TShortText> UpDown1Click(TTimePlotKind kind, TUpDownButton button,
                                       std::string_view minEdit, std::string_view maxEdit)
{
    const std::optional<TScalePair> pair = ParsePair(minEdit, maxEdit);
    if (!pair) {
        return std::nullopt;
    }
    const auto [min, max] = *pair;
    if (button == TUpDownButton::Up) {
        if (minEdit == kLargestEdit) {
            return std::nullopt;
        }
        if (minEdit == kSmallestEdit || min < max - 1) {
            return IntegerText(min + 1);
        }
        return std::nullopt;
    }
    if (minEdit == kLargestEdit) {
        return min <= max ? std::optional(IntegerText(min - 1)) : std::nullopt;
    }
    if (minEdit == kSmallestEdit) {
        return std::nullopt;
    }
    // The speed scale never goes below zero.
    if (kind == TTimePlotKind::Velocity && min < 1) {
        return std::nullopt;
    }
    return IntegerText(min - 1);
}

std::optional<TShortText> UpDown2Click(TTimePlotKind /*kind*/, TUpDownButton button,
                                       std::string_view minEdit, std::string_view maxEdit)
{
    const std::optional<TScalePair> pair = ParsePair(minEdit, maxEdit);
    if (!pair) {
        return std::nullopt;
    }
    const auto [min, max] = *pair;
    if (button == TUpDownButton::Up) {
        return maxEdit == kLargestEdit ? std::nullopt : std::optional(IntegerText(max + 1));
    }
    if (maxEdit == kSmallestEdit || !(min < max - 1)) {
        return std::nullopt;
    }
    return IntegerText(max - 1);
}

TTimePlotModel::TTimePlotModel(TTimePlotKind kind) : PlotKind(kind)
{
}

const TTimePoint& TTimePlotModel::Point(int32_t index) const
{
    return Points[static_cast<size_t>((First + index) % kCapacity)];
}

void TTimePlotModel::Plot(int32_t x, double y, std::atomic<uint8_t>& clearPending,
                          const std::atomic<int32_t>& plotClearRequest)
{
    // The time axis shows the last 600 sample numbers.
    if (x == 0) {
        if (clearPending.load() != 0) {
            ClearSeries();
            clearPending.store(0);
        }
        Time = TTimeAxis{};
    } else if (x < kCapacity) {
        Time = TTimeAxis{0, x, false};
    } else {
        Time = TTimeAxis{x - (kCapacity - 1), x, false};
    }

    if (Count >= kCapacity) {
        RemoveOldest();
    }
    if (Accepts(y)) {
        AddPoint(x, y);
    }
    if (AutoTicked) {
        GrowScale();
    }
    TakeScaleEdits();
    // An unusable pair of edits is replaced by the last usable one.
    if (AutoTicked) {
        MaxText = IntegerText(ValidMax);
        MinText = IntegerText(ValidMin);
    }

    // After a reset one point may still arrive numbered by the old counter, before the protocol
    // thread restarts it at 1: that point is dropped.
    if (plotClearRequest.load() != 0 && clearPending.load() != 0 && Count == 1 && Point(0).X > 1) {
        ClearSeries();
        clearPending.store(0);
    }
}

void TTimePlotModel::ResetDisplay()
{
    ClearDisplay();
    Value = TValueAxis{};
    MinText = TShortText("0");
    MaxText = TShortText("10");
    AutoTicked = true;
}

void TTimePlotModel::ClearDisplay()
{
    ClearSeries();
    Time = TTimeAxis{};
}

void TTimePlotModel::ClearSeries()
{
    First = 0;
    Count = 0;
}

bool TTimePlotModel::Accepts(double y) const
{
    // Written so that a value that is not a number is refused.
    if (PlotKind == TTimePlotKind::Altitude) {
        return y >= -999.9 && y <= 40000.0;
    }
    return y >= 0.0 && y <= 1851.9;
}

void TTimePlotModel::AddPoint(int32_t x, double y)
{
    Points[static_cast<size_t>((First + Count) % kCapacity)] = TTimePoint{x, y};
    ++Count;
}

void TTimePlotModel::RemoveOldest()
{
    First = (First + 1) % kCapacity;
    --Count;
}

void TTimePlotModel::GrowScale()
{
    if (Count == 0) {
        return;
    }
    double smallest = Point(0).Y;
    double largest = smallest;
    for (int32_t index = 1; index < Count; ++index) {
        smallest = std::min(smallest, Point(index).Y);
        largest = std::max(largest, Point(index).Y);
    }
    // Every value in the series lies within the accepted range, so these fit an int32.
    if (largest > Value.Max) {
        MaxText = IntegerText(static_cast<int64_t>(std::trunc(largest)) + 1);
    }
    if (smallest < Value.Min) {
        const auto whole = static_cast<int64_t>(std::trunc(smallest));
        MinText = IntegerText(PlotKind == TTimePlotKind::Altitude ? whole - 1 : whole);
    }
}

void TTimePlotModel::TakeScaleEdits()
{
    const std::optional<int32_t> min = ParseScaleEdit(MinText.View());
    const std::optional<int32_t> max = ParseScaleEdit(MaxText.View());
    if (!min || !max || !(*min < *max)) {
        return;
    }
    if (PlotKind == TTimePlotKind::Velocity && *min < 0) {
        return;
    }
    ValidMax = *max;
    ValidMin = *min;
    Value = TValueAxis{*min, *max};
}

} // namespace zz
