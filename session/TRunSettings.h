#pragma once

#include "core/ReceiverSettings.h"
#include "io/COMSTATUS.h"

namespace zz {

// Everything the receiver setting dialog decides for a run: the serial line and what the
// decoders follow.
struct TRunSettings
{
    COMSTATUS Line;
    TReceiverSettings Receiver;
};

} // namespace zz
