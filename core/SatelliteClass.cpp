#include "core/SatelliteClass.h"

namespace zz {

std::optional<TSatKind> SatKind(int32_t prn)
{
    if (prn >= kFirstGpsPrn && prn <= kLastGpsPrn) {
        return TSatKind::Gps;
    }
    if (prn >= kFirstSbasPrn && prn <= kLastSbasPrn) {
        return TSatKind::Sbas;
    }
    return std::nullopt;
}

int32_t ShownPrn(int32_t prn)
{
    return SatKind(prn) == TSatKind::Sbas ? prn + kSbasPrnOffset : prn;
}

int UsedPrnMatches(int32_t prn, const int32_t (&usedPrn)[kSatSlots])
{
    if (prn == 0) {
        return 0;
    }
    int matches = 0;
    for (const int32_t used : usedPrn) {
        if (used == prn) {
            ++matches;
        }
    }
    return matches;
}

std::optional<TSatClass> SatelliteClass(int32_t prn, int32_t cn0,
                                        const int32_t (&usedPrn)[kSatSlots])
{
    const std::optional<TSatKind> kind = SatKind(prn);
    if (!kind || cn0 < 0 || cn0 > 99) {
        return std::nullopt;
    }
    if (cn0 == 0) {
        return TSatClass{*kind, TSatState::NoSignal};
    }
    return TSatClass{*kind,
                     UsedPrnMatches(prn, usedPrn) > 0 ? TSatState::Used : TSatState::NotUsed};
}

uint32_t SatClassColour(TSatClass satClass)
{
    const bool gps = satClass.Kind == TSatKind::Gps;
    switch (satClass.State) {
    case TSatState::Used:
        return gps ? kGpsUsedColour : kSbasUsedColour;
    case TSatState::NotUsed:
        return gps ? kGpsNotUsedColour : kSbasNotUsedColour;
    case TSatState::NoSignal:
        break;
    }
    return gps ? kGpsNoSignalColour : kSbasNoSignalColour;
}

std::string_view SatClassLegendText(TSatClass satClass)
{
    const bool gps = satClass.Kind == TSatKind::Gps;
    switch (satClass.State) {
    case TSatState::Used:
        return gps ? "[GPS] Use for fix" : "[SBAS] Use for fix";
    case TSatState::NotUsed:
        return gps ? "[GPS] CN>0[dB-Hz]" : "[SBAS] CN>0[dB-Hz]";
    case TSatState::NoSignal:
        break;
    }
    return gps ? "[GPS] CN=0[dB-Hz]" : "[SBAS] CN=0[dB-Hz]";
}

} // namespace zz
