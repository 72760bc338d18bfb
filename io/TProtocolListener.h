#pragma once

#include "core/TProtocolHooks.h"

namespace zz {

// Events of the protocol thread that concern the windows. Every call arrives on the protocol
// thread; the window side queues it onto its own thread and must not block on it.
class TProtocolListener
{
public:
    virtual ~TProtocolListener() = default;

    virtual void ShowTtffText(TTtffText text) = 0;
    virtual void ClearAltitudeVelocityPlots() = 0;
    // The receiver went away (unplugged, or the line hung up); reported once per connection.
    virtual void ReceiverLost() = 0;
};

} // namespace zz
