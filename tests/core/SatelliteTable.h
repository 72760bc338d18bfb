#pragma once

#include <cstdint>
#include <memory>

#include "core/TReceiverState.h"

namespace zz::test {

// A receiver state with every field absent, on the heap (the record is large).
inline std::unique_ptr<TReceiverState> EmptyState()
{
    auto state = std::make_unique<TReceiverState>();
    ResetReceiverState(*state);
    return state;
}

// Fills one slot of the satellite table.
inline void SetSlot(TReceiverState& state, int slot, int32_t prn, int32_t elevation,
                    int32_t azimuth, int32_t cn0)
{
    state.SatPrn[slot] = prn;
    state.SatElevation[slot] = elevation;
    state.SatAzimuth[slot] = azimuth;
    state.SatCn0[slot] = cn0;
}

} // namespace zz::test
