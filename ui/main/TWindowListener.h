#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "io/TProtocolListener.h"

namespace zz {

class TWindowQueue;

// The protocol thread's events for the windows, queued onto the window thread. Each event
// carries the number of the connection whose thread reported it, so that the window can ignore
// what a connection already ended reported.
class TWindowListener final : public TProtocolListener
{
public:
    struct THandlers
    {
        std::function<void(TTtffText)> ShowTtffText;
        std::function<void()> ClearAltitudeVelocityPlots;
        std::function<void(uint32_t connection)> ReceiverLost;
    };

    TWindowListener(TWindowQueue& queue, THandlers handlers);

    // Set on the window thread before the connection's protocol thread starts.
    void SetConnection(uint32_t number) { Connection.store(number); }

    void ShowTtffText(TTtffText text) override;
    void ClearAltitudeVelocityPlots() override;
    void ReceiverLost() override;

private:
    TWindowQueue& Queue;
    const THandlers Handlers;
    std::atomic<uint32_t> Connection{0};
};

} // namespace zz
