#include "core/SignalLevel.h"

#include "core/SatelliteClass.h"

namespace zz {
namespace {

TShortText Decimal(int32_t value)
{
    TShortText text;
    AppendZeroPadded(text, value, 1);
    return text;
}

} // namespace

TBarView SignalBar(int32_t prn, int32_t cn0)
{
    TBarView bar;
    if (cn0 < 0 || cn0 > 99 || !SatKind(prn)) {
        return bar;
    }
    bar.Value = cn0 <= 50 ? cn0 : kBarTop;
    bar.Label = Decimal(cn0);
    return bar;
}

TSlotCells SlotCells(int32_t prn, int32_t elevation, int32_t azimuth)
{
    if (!SatKind(prn)) {
        return {TShortText(kEmptyCell), TShortText(kEmptyCell), TShortText(kEmptyCell)};
    }
    return {Decimal(ShownPrn(prn)),
            azimuth >= 0 && azimuth <= 359 ? Decimal(azimuth) : TShortText(kNoValue),
            elevation >= 0 && elevation <= 90 ? Decimal(elevation) : TShortText(kNoValue)};
}

std::optional<uint32_t> BarColour(int32_t prn, int32_t cn0, const int32_t (&usedPrn)[kSatSlots])
{
    const std::optional<TSatClass> satClass = SatelliteClass(prn, cn0, usedPrn);
    if (!satClass) {
        return std::nullopt;
    }
    return SatClassColour(*satClass);
}

TShortText AccuracyCell(int32_t shownPrn, const int32_t (&satAccuracy)[kAccuracySlots])
{
    if (shownPrn < kFirstGpsPrn || shownPrn > kLastGpsPrn) {
        return TShortText(kEmptyCell);
    }
    const int32_t accuracy = satAccuracy[shownPrn - 1];
    return accuracy >= 0 && accuracy <= 15 ? Decimal(accuracy) : TShortText(kEmptyCell);
}

TCellAlign CellAlignment(int column, std::string_view text)
{
    return column != 0 && text != kEmptyCell ? TCellAlign::Centred : TCellAlign::Right;
}

} // namespace zz
