#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/NumberFormat.h"
#include "core/TReceiverState.h"

namespace zz {

// The signal level bars: the vertical axis ends at 51, where stronger signals are cut off.
inline constexpr int32_t kBarTop = 51;
inline constexpr uint32_t kDefaultBarColour = 0xFFE000;

// Placeholder of an empty grid cell: two hyphens and three blanks. A bare "--" in a cell
// means an out-of-range azimuth or elevation of a known satellite.
inline constexpr std::string_view kEmptyCell = "--   ";
inline constexpr std::string_view kNoValue = "--";

// Height and label of one bar.
struct TBarView
{
    int32_t Value = 0;
    TShortText Label{kNoValue};
};

// C/N0 0..50 stands as itself, 51..99 at the top of the axis with its own label; any other
// value, or a PRN outside 1..51, gives an empty bar labelled "--".
TBarView SignalBar(int32_t prn, int32_t cn0);

// The PRN, azimuth and elevation cells of one slot's grid column.
struct TSlotCells
{
    TShortText Prn;
    TShortText Azimuth;
    TShortText Elevation;
};

// GPS PRNs show as they are and SBAS PRNs as the satellite's own number (120..138); azimuth
// 0..359 and elevation 0..90 in decimal, else "--". A PRN outside 1..51 leaves all three empty.
TSlotCells SlotCells(int32_t prn, int32_t elevation, int32_t azimuth);

// The bar's colour after an update: its class colour, or none (the bar keeps what it had) when
// the PRN lies outside 1..51 or the C/N0 outside 0..99.
std::optional<uint32_t> BarColour(int32_t prn, int32_t cn0, const int32_t (&usedPrn)[kSatSlots]);

// Accuracy cell of a column whose row 0 shows shownPrn (0: an empty column): the accuracy class
// 0..15 of a GPS PRN, else the empty cell. satAccuracy entry i belongs to PRN i + 1.
TShortText AccuracyCell(int32_t shownPrn, const int32_t (&satAccuracy)[kAccuracySlots]);

enum class TCellAlign
{
    Centred,
    Right,
};

// Values sit centred in their cells; the header column and empty cells sit to the right.
TCellAlign CellAlignment(int column, std::string_view text);

} // namespace zz
