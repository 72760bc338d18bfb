#include "ui/main/TWindowListener.h"

#include <QMetaObject>
#include <QObject>

namespace zz {

TWindowListener::TWindowListener(QObject& context, THandlers handlers)
    : Context(&context), Handlers(std::move(handlers))
{
}

void TWindowListener::ShowTtffText(TTtffText text)
{
    QMetaObject::invokeMethod(
        Context, [handler = Handlers.ShowTtffText, text] { handler(text); }, Qt::QueuedConnection);
}

void TWindowListener::ClearAltitudeVelocityPlots()
{
    QMetaObject::invokeMethod(Context, Handlers.ClearAltitudeVelocityPlots, Qt::QueuedConnection);
}

void TWindowListener::ReceiverLost()
{
    QMetaObject::invokeMethod(
        Context,
        [handler = Handlers.ReceiverLost, connection = Connection.load()] { handler(connection); },
        Qt::QueuedConnection);
}

} // namespace zz
