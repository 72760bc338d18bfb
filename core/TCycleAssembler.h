#pragma once

#include <cstdint>

#include "core/FixCycle.h"
#include "core/TReceiverState.h"

namespace zz {

// Puts the snapshots of a decoded stream together into cycles. A cycle ends where the engine
// raises its cycle summary (the next header sentence, or the next position frame); that
// snapshot's own groups already belong to the next cycle, since the header is decoded after the
// cycle start.
class TCycleAssembler
{
public:
    TCycleAssembler();

    // Takes one snapshot; true, with finished filled, when it ended a cycle.
    bool Add(const TReceiverState& snapshot, TFixCycle& finished);
    // At the end of the stream: true, with last filled, when the cycle in progress reported a
    // position (the engine would summarise it at the next header). Not when no cycle ever ended
    // and several positions were reported: the header sentence never came.
    bool Finish(TFixCycle& last);

private:
    void Apply(const TReceiverState& snapshot);
    void Start();

    TFixCycle Current;
    TReceiverClock Clock;
    bool PositionReported = false;
    uint64_t PositionReports = 0; // in the cycle in progress
    uint64_t Ended = 0;
};

} // namespace zz
