#include "ui/main/TWindowListener.h"

#include "ui/main/TWindowQueue.h"

namespace zz {

TWindowListener::TWindowListener(TWindowQueue& queue, THandlers handlers)
    : Queue(queue), Handlers(std::move(handlers))
{
}

void TWindowListener::ShowTtffText(TTtffText text)
{
    Queue.Post([handler = Handlers.ShowTtffText, text] { handler(text); });
}

void TWindowListener::ClearAltitudeVelocityPlots()
{
    Queue.Post(Handlers.ClearAltitudeVelocityPlots);
}

void TWindowListener::ReceiverLost()
{
    Queue.Post(
        [handler = Handlers.ReceiverLost, connection = Connection.load()] { handler(connection); });
}

} // namespace zz
