#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/TReceiverState.h"

namespace zz {

// Satellite numbering of the satellite table: GPS PRNs 1..32, SBAS satellites 33..51 (their
// own PRN minus 87).
inline constexpr int32_t kFirstGpsPrn = 1;
inline constexpr int32_t kLastGpsPrn = 32;
inline constexpr int32_t kFirstSbasPrn = 33;
inline constexpr int32_t kLastSbasPrn = 51;
inline constexpr int32_t kSbasPrnOffset = 87;

// Colours of the satellite classes, 0xRRGGBB, shared by the sky plot and the signal level bars.
inline constexpr uint32_t kGpsUsedColour = 0x00F020;
inline constexpr uint32_t kGpsNotUsedColour = 0xFFE000;
inline constexpr uint32_t kGpsNoSignalColour = 0xFF3000;
inline constexpr uint32_t kSbasUsedColour = 0xB0FFB0;
inline constexpr uint32_t kSbasNotUsedColour = 0xFFFF90;
inline constexpr uint32_t kSbasNoSignalColour = 0xFF8080;

enum class TSatKind
{
    Gps,
    Sbas,
};

enum class TSatState
{
    Used,     // in the fix, C/N0 1..99
    NotUsed,  // heard (C/N0 1..99) but not in the fix
    NoSignal, // C/N0 = 0
};

// The class a satellite is drawn in: its kind and its state.
struct TSatClass
{
    TSatKind Kind;
    TSatState State;

    bool operator==(const TSatClass&) const = default;
};

// Kind of a table PRN; none outside 1..51.
std::optional<TSatKind> SatKind(int32_t prn);

// The SBAS satellite's own PRN (120..138) for an SBAS table PRN, the PRN itself for GPS.
int32_t ShownPrn(int32_t prn);

// How many of the first 16 entries of the used list equal prn (0 for prn 0, which marks an
// empty entry).
int UsedPrnMatches(int32_t prn, const int32_t (&usedPrn)[kSatSlots]);

// Class of a table slot: none when the PRN lies outside 1..51 or the C/N0 outside 0..99.
std::optional<TSatClass> SatelliteClass(int32_t prn, int32_t cn0,
                                        const int32_t (&usedPrn)[kSatSlots]);

uint32_t SatClassColour(TSatClass satClass);

// The legend line of a class ("[GPS] Use for fix", "[SBAS] CN=0[dB-Hz]", ...).
std::string_view SatClassLegendText(TSatClass satClass);

} // namespace zz
