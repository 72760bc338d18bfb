#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/NumberFormat.h"
#include "core/SignalLevel.h"
#include "core/TReceiverState.h"

namespace zz {

// The grid under the bars: a header column and one column per slot; rows PRN, azimuth,
// elevation and accuracy.
inline constexpr int kSignalGridColumns = kSatSlots + 1;
inline constexpr int kSignalGridRows = 4;
inline constexpr int kPrnRow = 0;
inline constexpr int kAzimuthRow = 1;
inline constexpr int kElevationRow = 2;
inline constexpr int kAccuracyRow = 3;

// One bar: height, label and, once a satellite has coloured it, its own colour.
struct TSignalBar
{
    int32_t Value = 0;
    TShortText Label{kNoValue};
    uint32_t Colour = kDefaultBarColour;
    bool HasColour = false;
};

// What the signal level window shows: 16 bars and the text grid, updated from the (merged)
// satellite table and the accuracy classes. Plain data of fixed size.
class TSignalLevelModel
{
public:
    TSignalLevelModel();

    // Bars, their colours and grid rows 0..2 from the satellite table.
    void UpdateSatellites(const TReceiverState& mergedSnapshot);
    // Row 3 from the accuracy classes, placed by the GPS PRNs that row 0 shows now.
    void UpdateAccuracy(const TReceiverState& snapshot);
    // Every slot cell and bar back to empty; bar colours stay.
    void Clear();

    // column 0..16, row 0..3; column 0 holds the row headers.
    std::string_view CellText(int column, int row) const;
    const TSignalBar& Bar(int slot) const;

private:
    std::array<std::array<TShortText, kSignalGridRows>, kSignalGridColumns> Cells{};
    // The number row 0 of each slot's column shows (0: the empty cell).
    std::array<int32_t, kSatSlots> ShownPrns{};
    std::array<TSignalBar, kSatSlots> Bars{};
};

} // namespace zz
