#include "core/TSignalLevelModel.h"

#include <cassert>
#include <cstddef>
#include <optional>

#include "core/SatelliteClass.h"

namespace zz {
namespace {

// Row headers; the trailing blanks keep them clear of the first slot's column.
constexpr std::array<std::string_view, kSignalGridRows> kHeaders = {"PRN ", "Azi  ", "Elv  ",
                                                                    "acc  "};

size_t Index(int value)
{
    return static_cast<size_t>(value);
}

} // namespace

TSignalLevelModel::TSignalLevelModel()
{
    for (int row = 0; row < kSignalGridRows; ++row) {
        Cells[0][Index(row)] = TShortText(kHeaders[Index(row)]);
    }
    Clear();
}

void TSignalLevelModel::UpdateSatellites(const TReceiverState& mergedSnapshot)
{
    for (int slot = 0; slot < kSatSlots; ++slot) {
        const int32_t prn = mergedSnapshot.SatPrn[slot];
        const int32_t cn0 = mergedSnapshot.SatCn0[slot];
        TSignalBar& bar = Bars[Index(slot)];
        const TBarView view = SignalBar(prn, cn0);
        bar.Value = view.Value;
        bar.Label = view.Label;

        const TSlotCells cells =
            SlotCells(prn, mergedSnapshot.SatElevation[slot], mergedSnapshot.SatAzimuth[slot]);
        auto& column = Cells[Index(slot + 1)];
        column[kPrnRow] = cells.Prn;
        column[kAzimuthRow] = cells.Azimuth;
        column[kElevationRow] = cells.Elevation;
        ShownPrns[Index(slot)] = SatKind(prn) ? ShownPrn(prn) : 0;

        if (const std::optional<uint32_t> colour = BarColour(prn, cn0, mergedSnapshot.UsedPrn)) {
            bar.Colour = *colour;
            bar.HasColour = true;
        }
    }
}

void TSignalLevelModel::UpdateAccuracy(const TReceiverState& snapshot)
{
    for (int slot = 0; slot < kSatSlots; ++slot) {
        Cells[Index(slot + 1)][kAccuracyRow] =
            AccuracyCell(ShownPrns[Index(slot)], snapshot.SatAccuracy);
    }
}

void TSignalLevelModel::Clear()
{
    for (int slot = 0; slot < kSatSlots; ++slot) {
        for (TShortText& cell : Cells[Index(slot + 1)]) {
            cell = TShortText(kEmptyCell);
        }
        ShownPrns[Index(slot)] = 0;
        Bars[Index(slot)].Value = 0;
        Bars[Index(slot)].Label = TShortText(kNoValue);
    }
}

std::string_view TSignalLevelModel::CellText(int column, int row) const
{
    assert(column >= 0 && column < kSignalGridColumns && row >= 0 && row < kSignalGridRows);
    return Cells[Index(column)][Index(row)].View();
}

const TSignalBar& TSignalLevelModel::Bar(int slot) const
{
    assert(slot >= 0 && slot < kSatSlots);
    return Bars[Index(slot)];
}

} // namespace zz
